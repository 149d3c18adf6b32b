#include "platform/path_ops.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/temp_dir.h"

namespace junctra {
namespace {

TEST(PathOpsTest, TrailingSeparatorIsAddedOnce) {
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
  EXPECT_EQ(MakeFilePath("", "Program Settings.ini"), "Program Settings.ini");
}

TEST(PathOpsTest, TagListFileIsAnyEntryOfThatExactName) {
  TempDir dir;
  auto folder = dir.path() / "";
  EXPECT_FALSE(HasTagListFile(folder));
  std::ofstream(dir.path() / "TAGL.TXT") << "x";
  std::ofstream(dir.path() / "class.lst") << "x";
  EXPECT_FALSE(HasTagListFile(folder));
  std::filesystem::create_directory(dir.path() / "tagl.txt");
  EXPECT_TRUE(HasTagListFile(folder));
}

}  // namespace
}  // namespace junctra
