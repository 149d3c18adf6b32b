// How the savers report trouble: false when the file cannot be created,
// with the system's reason, CFileException when writing fails.
#include <gtest/gtest.h>

#include <cerrno>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "database/tav_stdio_file.h"
#include "platform/stdio_file.h"
#include "tests/database/file_bytes.h"
#include "tests/file_wrapper.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// A disk that fills up: every write fails with ENOSPC.
class FullDiskEnv : public EnvWrapper {
 public:
  FullDiskEnv() : EnvWrapper(Env::Default()) {}
  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    std::unique_ptr<File> real;
    if (int err = target()->OpenFile(path, mode, &real)) return err;
    *file = std::make_unique<FullFile>(std::move(real));
    return 0;
  }

 private:
  class FullFile : public FileWrapper {
   public:
    using FileWrapper::FileWrapper;
    int WriteAt(std::uint64_t, const void*, std::size_t) override { return ENOSPC; }
  };
};

TEST(SaveFailureTest, WriteErrorsThrowAndCreationFailuresReturnFalse) {
  TempDir dir;
  FullDiskEnv full;
  CClassList classes;
  classes.AddClass(u"Pump", CClassInfo());
  CTagList tags;
  tags.m_tags.SetAt(u"P1", CDatabaseItem());
  try {
    classes.SaveClassFile(dir.path() / "class.lst", &full);
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.error(), ENOSPC);
    EXPECT_EQ(e.path(), dir.path() / "class.lst");
  }
  EXPECT_THROW(tags.SaveTagFile(dir.path() / "tagl.txt", &full), CFileException);

  // While a loader holds the file, nobody may create it anew.
  const auto path = dir.path() / "held.txt";
  WriteBytes(path, Utf16FileBytes(u"//4.x - Application Tags\n"));
  CTAVStdioFile reader;
  ASSERT_TRUE(reader.Open(path, CFile::modeRead | CFile::shareDenyWrite));
  int open_error = 0;
  EXPECT_FALSE(tags.SaveTagFile(path, Env::Default(), &open_error));
  EXPECT_EQ(open_error, EWOULDBLOCK);
  open_error = 0;
  EXPECT_FALSE(classes.SaveClassFile(path, Env::Default(), &open_error));
  EXPECT_EQ(open_error, EWOULDBLOCK);
  EXPECT_EQ(ReadBytes(path), Utf16FileBytes(u"//4.x - Application Tags\n"));
  reader.Close();
  EXPECT_TRUE(tags.SaveTagFile(path));
  // And the reverse: a file being written cannot be read.
  CTAVStdioFile writer;
  ASSERT_TRUE(writer.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
  CTagList other;
  LoadReport report;
  EXPECT_FALSE(other.LoadTagFile(path, &report));
  EXPECT_FALSE(report.opened);
  EXPECT_EQ(report.error, EWOULDBLOCK);
}

}  // namespace
}  // namespace junctra
