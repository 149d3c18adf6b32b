// Reading a whole file beyond what the comparison with the literal reading
// covers: failed reads, a file that grew, the added line feed.
#include "database/file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "database/tav_stdio_file.h"
#include "database/text_store.h"
#include "platform/text.h"
#include "tests/database/file_bytes.h"
#include "tests/file_wrapper.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// Files whose reads fail from a byte on, or whose size is misreported.
class OddFileEnv : public EnvWrapper {
 public:
  OddFileEnv() : EnvWrapper(Env::Default()) {}
  std::uint64_t fail_from = UINT64_MAX;
  int size_error = 0;
  std::uint64_t reported_size = UINT64_MAX;

  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    if (int err = target()->OpenFile(path, mode, file)) return err;
    *file = std::make_unique<Odd>(std::move(*file), this);
    return 0;
  }

 private:
  class Odd : public FileWrapper {
   public:
    Odd(std::unique_ptr<File> real, OddFileEnv* env) : FileWrapper(std::move(real)), env_(env) {}
    int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
      *got = 0;
      if (offset + n > env_->fail_from) return EIO;
      return FileWrapper::ReadAt(offset, dst, n, got);
    }
    int Size(std::uint64_t* size) override {
      if (env_->size_error != 0) return env_->size_error;
      const int err = FileWrapper::Size(size);
      *size = std::min(*size, env_->reported_size);
      return err;
    }

   private:
    OddFileEnv* env_;
  };
};

class FileTextTest : public ::testing::Test {
 protected:
  // Every piece at limit 1023, until the end or a read error.
  std::vector<std::u16string> Pieces(const std::string& bytes, int* error = nullptr) {
    WriteBytes(path_, bytes);
    CTAVStdioFile file(&env_);
    EXPECT_TRUE(file.Open(path_, CFile::modeRead));
    FileText text(file, 1023, store_);
    std::vector<std::u16string> pieces;
    try {
      std::u16string_view piece;
      while (text.NextPiece(&piece)) pieces.emplace_back(piece);
    } catch (const CFileException& e) {
      if (error != nullptr) *error = e.error();
    }
    return pieces;
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_.path() / "f";
  OddFileEnv env_;
  TextStore store_;
};

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(FileTextTest, AFailedReadIsThrownWhereItsBytesAreNeeded) {
  const std::string bytes = Lines(100000);  // several read blocks
  env_.fail_from = 300000;
  int error = 0;
  const std::vector<std::u16string> pieces = Pieces(bytes, &error);
  EXPECT_EQ(error, EIO);
  // Every piece before the failed block, none after it.
  ASSERT_GT(pieces.size(), 1000u);
  std::size_t read = 0;
  for (const auto& piece : pieces) read += piece.size() + 1;  // and its CR
  EXPECT_LE(read, env_.fail_from);
  EXPECT_EQ(pieces.back(), u"line " + Utf8ToUtf16(std::to_string(pieces.size() - 1)) + u"\n");

  // A file whose size cannot be had gives nothing but the error.
  env_.fail_from = UINT64_MAX;
  env_.size_error = EACCES;
  error = 0;
  EXPECT_TRUE(Pieces(bytes, &error).empty());
  EXPECT_EQ(error, EACCES);
}

// The text's block is sized by the file's length: a file longer than that
// (one that grew while it was read) is refused where it runs past it.
TEST_F(FileTextTest, AFileLongerThanItsLengthSaidIsRefusedWhereItGoesPast) {
  for (const std::string& bytes :
       {Lines(50000), "\xFF\xFE" + Utf16LeBytes(u"a\nb\n") + std::string(300000, 'x')}) {
    const std::vector<std::u16string> whole = Pieces(bytes);
    env_.reported_size = 200000;
    int error = 0;
    const std::vector<std::u16string> cut = Pieces(bytes, &error);
    env_.reported_size = UINT64_MAX;
    EXPECT_EQ(error, EBUSY);
    ASSERT_LT(cut.size(), whole.size());
    EXPECT_TRUE(std::equal(cut.begin(), cut.end(), whole.begin()));
  }
}

TEST_F(FileTextTest, ALineFeedGoesOnlyAfterTheLastPiece) {
  for (const std::string& bytes : {std::string("ab\r\ncd"), "\xFF\xFE" + Utf16LeBytes(u"ab\ncd")}) {
    WriteBytes(path_, bytes);
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(path_, CFile::modeRead));
    FileText text(file, 1023, store_);
    std::u16string_view first, last, none;
    ASSERT_TRUE(text.NextPiece(&first));
    EXPECT_EQ(text.AppendLineFeed(first), u"ab\n");  // not at the end: unchanged
    ASSERT_TRUE(text.NextPiece(&last));
    EXPECT_FALSE(text.NextPiece(&none));
    EXPECT_EQ(text.AppendLineFeed(last), u"cd\n");
    EXPECT_EQ(first, u"ab\n");
    EXPECT_EQ(last.data(), first.data() + 3);
  }
}

}  // namespace
}  // namespace junctra
