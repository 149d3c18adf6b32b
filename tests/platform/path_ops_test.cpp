#include "platform/path_ops.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "tests/temp_dir.h"

namespace junctra {
namespace {

TEST(PathOpsTest, TrailingSeparatorIsAddedOnce) {
#ifdef _WIN32
  std::filesystem::path folder = L"C:\\data\\plant";
  EnsureTrailingBackslash(folder);
  EXPECT_EQ(folder.native(), L"C:\\data\\plant\\");
  EnsureTrailingBackslash(folder);
  EXPECT_EQ(folder.native(), L"C:\\data\\plant\\");
  std::filesystem::path slash = L"C:/data/";  // a separator here too
  EnsureTrailingBackslash(slash);
  EXPECT_EQ(slash.native(), L"C:/data/");
  EXPECT_EQ(MakeFilePath(L"C:\\data\\", "t\xC3\xA4gl.txt").native(), L"C:\\data\\t\u00E4gl.txt");
#else
  std::filesystem::path folder = "/data/plant";
  EnsureTrailingBackslash(folder);
  EXPECT_EQ(folder, "/data/plant/");
  EnsureTrailingBackslash(folder);
  EXPECT_EQ(folder, "/data/plant/");
  std::filesystem::path root = "/";
  EnsureTrailingBackslash(root);
  EXPECT_EQ(root, "/");
  std::filesystem::path backslash = "a\\";  // an ordinary character here
  EnsureTrailingBackslash(backslash);
  EXPECT_EQ(backslash, "a\\/");
  EXPECT_EQ(MakeFilePath("/data/plant/", "tagl.txt"), "/data/plant/tagl.txt");
#endif
  EXPECT_EQ(MakeFilePath("", "Program Settings.ini"), "Program Settings.ini");
}

TEST(PathOpsTest, SplitFileNameCutsAfterTheLastSeparator) {
  std::filesystem::path folder;
  std::string name;
  EXPECT_FALSE(SplitFileName("junctra", &folder, &name));
#ifdef _WIN32
  ASSERT_TRUE(SplitFileName(L"C:\\app/bin\\j\u00FCnctra.exe", &folder, &name));
  EXPECT_EQ(folder.native(), L"C:\\app/bin\\");
  EXPECT_EQ(name, "j\xC3\xBCnctra.exe");
#else
  ASSERT_TRUE(SplitFileName("/opt/a\\b/j\xC3\xBCnctra", &folder, &name));
  EXPECT_EQ(folder.native(), "/opt/a\\b/");
  EXPECT_EQ(name, "j\xC3\xBCnctra");
#endif
}

TEST(PathOpsTest, FolderBesideIsTheParentWhateverTheTrailingSeparator) {
  EXPECT_EQ(FolderBeside(u"/data/a/"), u"/data");
  EXPECT_EQ(FolderBeside(u"/data/a"), u"/data");
  EXPECT_EQ(FolderBeside(u"/"), u"/");
  EXPECT_EQ(FolderBeside({}), std::filesystem::path());
}

TEST(PathOpsTest, TagListFileIsFoundAsWindowsFindsIt) {
  TempDir dir;
  auto folder = dir.path() / "";
  FoundFile found;
  EXPECT_FALSE(HasTagListFile(folder, Env::Default(), &found));
  EXPECT_EQ(found.error, ENOENT);
  EXPECT_EQ(found.path, folder / "tagl.txt");
  std::ofstream(dir.path() / "class.lst") << "x";
  EXPECT_FALSE(HasTagListFile(folder));
  std::ofstream(dir.path() / "TAGL.TXT") << "x";
  EXPECT_TRUE(HasTagListFile(folder, Env::Default(), &found));
  EXPECT_EQ(found.path, folder / "TAGL.TXT");  // its own spelling
#ifndef _WIN32
  std::ofstream(dir.path() / "Tagl.txt") << "x";
  EXPECT_FALSE(HasTagListFile(folder, Env::Default(), &found));
  EXPECT_TRUE(found.ambiguous);
  std::filesystem::create_directory(dir.path() / "tagl.txt");
  EXPECT_TRUE(HasTagListFile(folder, Env::Default(), &found));  // the exact name first
  EXPECT_EQ(found.path, folder / "tagl.txt");
#endif
  // A folder without its search bit lists its names but shows no entry.
  struct NoSearchEnv : EnvWrapper {
    NoSearchEnv() : EnvWrapper(Env::Default()) {}
    bool EntryExists(const std::filesystem::path&) override { return false; }
    int StatEntry(const std::filesystem::path&, FileStatus*) override { return EACCES; }
  } no_search;
  EXPECT_FALSE(HasTagListFile(folder, &no_search, &found));
  EXPECT_EQ(found.error, EACCES);
  EXPECT_EQ(found.path, folder / "tagl.txt");
}

}  // namespace
}  // namespace junctra
