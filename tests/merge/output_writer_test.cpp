// The output writer on its own: what it does when another run holds the
// output folder.
#include "merge/output_writer.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/database_files.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

using std::chrono::milliseconds;

class OutputWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(out_);
    WriteDatabaseFile(dir_.path() / "tagl.txt", TagFile(TagBlock(u"P1", u"1|1|x")));
    ASSERT_TRUE(tags_.LoadTagFile(dir_.path() / "tagl.txt"));
  }

  WriteResult Write(milliseconds wait) {
    return WriteMergedDatabase(out_ / "", classes_, tags_, Env::Default(), wait);
  }

  TempDir dir_;
  std::filesystem::path out_ = dir_.path() / "out";
  CClassList classes_;
  CTagList tags_;
};

TEST_F(OutputWriterTest, ARunWaitsForAnotherOnTheFolderAndGivesUpWritingNothing) {
  std::unique_ptr<FolderLock> other;
  ASSERT_EQ(Env::Default()->LockFolder(out_, milliseconds(0), &other), 0);
  const auto start = std::chrono::steady_clock::now();
  WriteResult result = Write(milliseconds(300));
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(300));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.busy_folder, out_ / "");
  EXPECT_FALSE(result.class_error || result.tag_error);
  EXPECT_TRUE(std::filesystem::is_empty(out_));

  // Freed during the wait: the run goes ahead.
  std::thread finish([&] {
    std::this_thread::sleep_for(milliseconds(100));
    other.reset();
  });
  result = Write(milliseconds(10000));
  finish.join();
  EXPECT_TRUE(result.ok());
  EXPECT_TRUE(result.busy_folder.empty());
  EXPECT_TRUE(std::filesystem::exists(out_ / "tagl.txt"));
}

}  // namespace
}  // namespace junctra
