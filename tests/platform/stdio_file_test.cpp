#include "platform/stdio_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "tests/temp_dir.h"

namespace junctra {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(StdioFileTest, OpenFailsWithoutThrowingAndKeepsTheReason) {
  TempDir dir;
  CStdioFile file;
  EXPECT_FALSE(file.Open(dir.path() / "missing", CFile::modeRead));
  EXPECT_EQ(file.GetOpenError(), ENOENT);
  EXPECT_FALSE(file.Open(dir.path(), CFile::modeRead));  // a folder
  EXPECT_EQ(file.GetOpenError(), EISDIR);
  ASSERT_TRUE(file.Open(dir.path() / "new", CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.GetOpenError(), 0);
}

TEST(StdioFileTest, WritesReadsAndSeeksAcrossBufferBoundaries) {
  TempDir dir;
  auto path = dir.path() / "data";
  std::string data;
  for (int i = 0; i < 2600000; ++i) data.push_back(static_cast<char>('a' + i % 26));
  {
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    file.Write(data.data(), 1000);
    file.Write(data.data() + 1000, static_cast<std::uint32_t>(data.size() - 1001));
    file.WriteInPlace(4, [&](char* out) {
      out[0] = data.back();
      return 1;
    });
    file.Close();
  }
  EXPECT_EQ(ReadAll(path), data);
  {
    // Pending writes land where they were made and are seen by reads.
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    file.Seek(10, CFile::begin);
    file.Write("XY", 2);
    file.Seek(2000000, CFile::begin);
    file.Write("Z", 1);
    char back[3] = {};
    file.Seek(9, CFile::begin);
    EXPECT_EQ(file.Read(back, 3), 3u);
    EXPECT_EQ(std::string(back, 3), data.substr(9, 1) + "XY");
    file.Close();
  }
  data.replace(10, 2, "XY");
  data[2000000] = 'Z';
  EXPECT_EQ(ReadAll(path), data);

  CStdioFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyWrite));
  EXPECT_EQ(file.GetLength(), data.size());
  std::string buf(3000, '\0');
  EXPECT_EQ(file.Seek(65530, CFile::begin), 65530u);
  EXPECT_EQ(file.Read(buf.data(), 3000), 3000u);
  EXPECT_EQ(buf, data.substr(65530, 3000));
  EXPECT_EQ(file.Seek(-10, CFile::end), data.size() - 10);
  EXPECT_EQ(file.Read(buf.data(), 3000), 10u);
  EXPECT_EQ(file.Read(buf.data(), 3000), 0u);
  EXPECT_EQ(file.Seek(5, CFile::begin), 5u);
  EXPECT_EQ(file.Seek(2, CFile::current), 7u);
  std::string big(150000, '\0');
  EXPECT_EQ(file.Read(big.data(), 150000), 150000u);
  EXPECT_EQ(big, data.substr(7, 150000));
  EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
}

TEST(StdioFileTest, CreateTruncatesUnlessNoTruncate) {
  TempDir dir;
  auto path = dir.path() / "f";
  std::ofstream(path) << "old contents";
  {
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    file.Close();
  }
  EXPECT_EQ(ReadAll(path), "old contents");
  {
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    file.Write("new", 3);
    file.Close();
  }
  EXPECT_EQ(ReadAll(path), "new");
}

TEST(StdioFileTest, SharingFlagsExcludeOtherOpeners) {
  TempDir dir;
  auto path = dir.path() / "f";
  std::ofstream(path) << "x";
  CStdioFile writer;
  ASSERT_TRUE(writer.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
  CStdioFile reader;
  EXPECT_FALSE(reader.Open(path, CFile::modeRead | CFile::shareDenyWrite));
  writer.Close();
  EXPECT_TRUE(reader.Open(path, CFile::modeRead | CFile::shareDenyWrite));
  CStdioFile second_reader;
  EXPECT_TRUE(second_reader.Open(path, CFile::modeRead | CFile::shareDenyWrite));
}

TEST(StdioFileTest, WriteErrorsThrowWithThePath) {
  struct FullFile : File {
    int ReadAt(std::uint64_t, void*, std::size_t, std::size_t* got) override {
      *got = 0;
      return 0;
    }
    int WriteAt(std::uint64_t, const void*, std::size_t) override { return ENOSPC; }
    int Sync() override { return 0; }
    int Size(std::uint64_t* size) override {
      *size = 0;
      return 0;
    }
    int Close() override { return 0; }
  };
  struct FullEnv : EnvWrapper {
    FullEnv() : EnvWrapper(Env::Default()) {}
    int OpenFile(const std::filesystem::path&, const OpenMode&,
                 std::unique_ptr<File>* file) override {
      *file = std::make_unique<FullFile>();
      return 0;
    }
  } env;
  CStdioFile file(&env);
  ASSERT_TRUE(file.Open("/full/tagl.txt", CFile::modeCreate | CFile::modeWrite));
  file.Write("abc", 3);  // buffered
  try {
    file.Close();
    FAIL() << "Close must report the lost write";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.error(), ENOSPC);
    EXPECT_EQ(e.path(), "/full/tagl.txt");
  }
}

}  // namespace
}  // namespace junctra
