// The real Env of the system the tests run on.
#include "platform/env.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "tests/temp_dir.h"

namespace junctra {
namespace {

TEST(EnvTest, ErrorsArriveAsErrnoValues) {
  TempDir dir;
  Env* env = Env::Default();
  std::unique_ptr<File> file;
  EXPECT_EQ(env->OpenFile(dir.path() / "missing", {}, &file), ENOENT);
  EXPECT_EQ(env->OpenFile(dir.path(), {}, &file), EISDIR);
  std::ofstream(dir.path() / "a") << "x";
  EXPECT_EQ(env->CreateNewFile(dir.path() / "a", nullptr, &file), EEXIST);
  EXPECT_EQ(env->RemoveFile(dir.path() / "missing"), ENOENT);
  EXPECT_EQ(env->ExchangeFiles(dir.path(), dir.path() / "a"), EISDIR);
}

TEST(EnvTest, SharingAndFolderLocksExcludeASecondOpener) {
  TempDir dir;
  Env* env = Env::Default();
  std::ofstream(dir.path() / "a") << "x";
  OpenMode deny_write;
  deny_write.deny_write = true;
  OpenMode exclusive;
  exclusive.exclusive_share = true;
  std::unique_ptr<File> reader, other;
  ASSERT_EQ(env->OpenFile(dir.path() / "a", deny_write, &reader), 0);
  EXPECT_EQ(env->OpenFile(dir.path() / "a", deny_write, &other), 0);
  EXPECT_EQ(env->OpenFile(dir.path() / "a", exclusive, &other), EWOULDBLOCK);

  std::unique_ptr<FolderLock> first, second;
  ASSERT_EQ(env->LockFolder(dir.path(), {}, &first), 0);
  EXPECT_EQ(env->LockFolder(dir.path(), std::chrono::milliseconds(50), &second), EWOULDBLOCK);
  // Entries can still be listed and made while the folder is locked.
  std::unique_ptr<File> created;
  EXPECT_EQ(env->CreateNewFile(dir.path() / "b", nullptr, &created), 0);
  std::vector<std::string> names;
  EXPECT_EQ(env->ListFolder(dir.path(), &names), 0);
  EXPECT_EQ(names.size(), 2u);
  first.reset();
  EXPECT_EQ(env->LockFolder(dir.path(), {}, &second), 0);
}

TEST(EnvTest, PathsLongerThan260CharactersWork) {
  TempDir dir;
  Env* env = Env::Default();
  std::filesystem::path folder = dir.path();
  std::filesystem::path make = std::filesystem::absolute(folder);
#ifdef _WIN32
  // The test makes its folders through the long form itself.
  make = L"\\\\?\\" + make.native();
#endif
  std::vector<std::filesystem::path> made;
  for (int i = 0; i < 6; ++i) {
    const std::string name(50, static_cast<char>('a' + i));
    folder /= name;
    make /= name;
    made.push_back(make);
  }
  ASSERT_TRUE(std::filesystem::create_directories(make));
  const auto path = folder / "tagl.txt";
  ASSERT_GT(path.native().size(), 300u);
  std::unique_ptr<File> file;
  ASSERT_EQ(env->CreateNewFile(path, nullptr, &file), 0);
  ASSERT_EQ(file->WriteAt(0, "abc", 3), 0);
  ASSERT_EQ(file->Close(), 0);
  EXPECT_TRUE(env->FileExists(path));
  ASSERT_EQ(env->OpenFile(path, {}, &file), 0);
  char bytes[4] = {};
  std::size_t got = 0;
  EXPECT_EQ(file->ReadAt(1, bytes, sizeof bytes, &got), 0);
  EXPECT_EQ(std::string(bytes, got), "bc");
  file.reset();
  EXPECT_EQ(env->RenameFile(path, folder / "class.lst"), 0);
  EXPECT_EQ(env->RemoveFile(folder / "class.lst"), 0);
  // One by one: remove_all does not walk the long form.
  for (auto it = made.rbegin(); it != made.rend(); ++it) std::filesystem::remove(*it);
}

}  // namespace
}  // namespace junctra
