#include "app/settings_folder.h"

#include <gtest/gtest.h>

#include "tests/app/app_fake_env.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

class SettingsFolderTest : public ::testing::Test {
 protected:
  SettingsFolderTest() {
    program_ = dir_.path() / "program";
    std::filesystem::create_directories(program_);
    env_.module_file = program_ / "junctra";
    env_.known_folder = "/home/user/.config";
    env_.local_folder = "/home/user/.local-fallback";
  }
  void WriteProductFile(const std::string& text) {
    WriteFile(program_ / kProgramSettingsFileName, text);
  }
  // In "/" form, so that the expectations hold with either separator.
  std::string Folder() { return GetSettingsFolder(&env_).generic_string(); }
  std::string ProgramFolder() const { return program_.generic_string() + "/"; }

  TempDir dir_;
  std::filesystem::path program_;
  AppFakeEnv env_;
};

TEST_F(SettingsFolderTest, ProductFileNamesTheFolder) {
  // No product file: the local application data folder itself.
  EXPECT_EQ(Folder(), "/home/user/.config/");

  WriteProductFile("[OEM]\nCompanyID=7\nProductName=Alpha\n[Install]\nVersion=2.5\n");
  EXPECT_EQ(Folder(), "/home/user/.config/Alpha v2.5/");

  WriteProductFile("[OEM]\n");
  EXPECT_EQ(Folder(), "/home/user/.config/Corvane v6.1/");

  WriteProductFile("[OEM]\nProductName=Alpha\n[Install]\nVersion=\n");
  EXPECT_EQ(Folder(), "/home/user/.config/Alpha v/");
}

TEST_F(SettingsFolderTest, CompanyIdIsReadAsDecimal) {
  struct Case {
    const char* value;
    const char* folder;
  };
  for (const Case& c : {Case{"40", "Alpha/"}, Case{"040", "Alpha/"}, Case{"40abc", "Alpha/"},
                        Case{"  +40", "Alpha/"}, Case{"\"40\"", "Alpha/"}, Case{"", "Alpha v9/"},
                        Case{"4", "Alpha v9/"}, Case{"400", "Alpha v9/"},
                        Case{"abc40", "Alpha v9/"}, Case{"-40", "Alpha v9/"}}) {
    WriteProductFile(std::string("[OEM]\nProductName=Alpha\nCompanyID=") + c.value +
                     "\n[Install]\nVersion=9\n");
    EXPECT_EQ(Folder(), std::string("/home/user/.config/") + c.folder) << c.value;
  }
}

TEST_F(SettingsFolderTest, FallsBackInOrder) {
  WriteProductFile("[OEM]\nCompanyID=40\nProductName=Alpha\n");

  env_.known_folder.reset();
  EXPECT_EQ(Folder(), "/home/user/.local-fallback/Alpha/");

  // A query that claims success with no path counts as failed.
  env_.known_folder = "";
  EXPECT_EQ(Folder(), "/home/user/.local-fallback/Alpha/");

  env_.local_folder.reset();
  EXPECT_EQ(Folder(), ProgramFolder());

  // An old system has no per-user folders, whatever the queries say.
  env_.known_folder = "/home/user/.config";
  env_.os_major = 4;
  EXPECT_EQ(Folder(), ProgramFolder());
  env_.os_major = 5;
  EXPECT_EQ(Folder(), "/home/user/.config/Alpha/");

  env_.known_folder = "/";
  EXPECT_EQ(Folder(), "/Alpha/");
}

TEST_F(SettingsFolderTest, EmptyWithoutProgramPath) {
  env_.module_file.clear();
  EXPECT_EQ(Folder(), "");
  env_.module_file = "junctra";
  EXPECT_EQ(Folder(), "");
  env_.module_file = "/junctra";
  env_.os_major = 4;
  EXPECT_EQ(Folder(), "/");
}

TEST_F(SettingsFolderTest, FolderNamedLikeTheProductFileIsIgnored) {
  std::filesystem::create_directories(program_ / kProgramSettingsFileName);
  EXPECT_EQ(Folder(), "/home/user/.config/");
}

TEST_F(SettingsFolderTest, ProductFolderNameIsCut) {
  std::string long_name(300, 'n');
  WriteProductFile("[OEM]\nProductName=" + long_name + "\n[Install]\nVersion=1\n");
  std::filesystem::path product_file = program_ / kProgramSettingsFileName;
  // The product name alone is cut to 255 by its buffer, the folder name to 126.
  EXPECT_EQ(GetProductFolderName(product_file, false, &env_), std::u16string(126, u'n'));
  EXPECT_EQ(Folder(), "/home/user/.config/" + std::string(126, 'n') + "/");

  WriteProductFile("[OEM]\nProductName=Alpha\n[Install]\nVersion=" + long_name + "\n");
  EXPECT_EQ(GetProductFolderName(product_file, true, &env_),
            u"Alpha v" + std::u16string(126 - 7, u'n'));
}

TEST_F(SettingsFolderTest, ShippedProductFileGivesJunctraFolder) {
  env_.module_file = BuiltProgramFolder() / "junctra";
  EXPECT_EQ(Folder(), "/home/user/.config/Junctra/");
}

}  // namespace
}  // namespace junctra
