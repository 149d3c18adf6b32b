#include <gtest/gtest.h>

#include "app/junctra_app.h"
#include "platform/resource_module.h"
#include "tests/app/app_fake_env.h"
#include "tests/database_files.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// Start-up against the build tree's program folder, with the user's home in
// a temp folder and the language chosen by the settings file.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.module_file = BuiltProgramFolder() / kProgramFileName;
    env_.local_folder = home_.path() / ".config";
    env_.load_real_libraries = true;
    for (auto* p : {&a_, &b_}) std::filesystem::create_directory(*p);
    WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(u"Level", u"1|1|x")));
    WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"LEVEL", u"2|1|x")));
  }

  void SetCulture(const std::string& culture) {
    WriteFile(home_.path() / ".config/Junctra/Program Settings.ini",
              "[Language]\nCultureName=" + culture + "\n");
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), "junctra");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    CJunctraApp app(&env_);
    testing::internal::CaptureStderr();
    dialog_culture_ = u"(not run)";
    int code =
        app.InitInstance(static_cast<int>(argv.size()), argv.data(),
                         [](int&, char**, const std::filesystem::path&,
                            const std::u16string& culture, const std::filesystem::path& base) {
                           dialog_culture_ = culture;
                           dialog_base_ = base;
                           return 1;
                         });
    stderr_ = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(app.m_hLangResourceDLL.is_null());
    return code;
  }

  AppFakeEnv env_;
  TempDir home_, data_;
  std::filesystem::path a_ = data_.path() / "a", b_ = data_.path() / "b";
  std::string stderr_;
  static inline std::u16string dialog_culture_;
  static inline std::filesystem::path dialog_base_;
};

TEST_F(StartupTest, GermanSettingPrintsBatchMessagesInGermanAndReleasesTheSatellite) {
  SetCulture("de-DE");
  EXPECT_EQ(Run({a_.string(), b_.string()}), 1);
  EXPECT_EQ(stderr_,
            "Vereinen nicht möglich wegen folgender Konflikte:\n"
            "Tag „LEVEL“ ist unterschiedlich definiert\n"
            "  Nummer: erste 1, zweite 2\n");
  ASSERT_EQ(env_.load_requests.size(), 1u);
  EXPECT_EQ(env_.load_requests[0], BuiltProgramFolder() / kGermanSatellite);
  EXPECT_EQ(env_.libraries_alive, 0);
  EXPECT_EQ(&CurrentResourceModule(), &ResourceModule::BuiltIn());
}

// A program that cannot print shows every text of the run, errors and
// output alike, in one message box at its end, and prints nothing.
TEST_F(StartupTest, WithoutStandardErrorTheTextsShowInOneMessageBox) {
  env_.can_print = false;
  EXPECT_EQ(Run({a_.string(), b_.string()}), 1);
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(stderr_, "");
  EXPECT_EQ(env_.message_windows,
            (std::vector<std::u16string>{u"Can not merge databases due to the following "
                                         u"inconsistencies:\n"
                                         u"Tag 'LEVEL' has different definitions\n"
                                         u"  Number: first 1, second 2",
                                         u"Junctra version 1.0"}));
}

TEST_F(StartupTest, EnglishNeedsNoSatellite) {
  SetCulture("EN-us");
  EXPECT_EQ(Run({a_.string(), b_.string()}), 1);
  EXPECT_EQ(stderr_,
            "Can not merge databases due to the following inconsistencies:\n"
            "Tag 'LEVEL' has different definitions\n"
            "  Number: first 1, second 2\n");
  EXPECT_TRUE(env_.load_requests.empty());
}

TEST_F(StartupTest, FewerThanTwoFoldersRunTheDialog) {
  SetCulture("de");
  EXPECT_EQ(Run({"", a_.string()}), 0);  // the fake dialog ends with Exit
  EXPECT_EQ(stderr_, "");
  EXPECT_EQ(dialog_culture_, u"de");  // the toolkit's texts follow the satellite
  SetCulture("fr-FR");                // no satellite: the built-in English throughout
  EXPECT_EQ(Run({a_.string()}), 0);
  EXPECT_EQ(dialog_culture_, u"");
  EXPECT_EQ(env_.libraries_alive, 0);
  EXPECT_EQ(Run({"--base", b_.string(), a_.string()}), 0);
  EXPECT_EQ(dialog_base_, b_);
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"Other", u"2|1|x")));
  EXPECT_EQ(Run({a_.string(), b_.string()}), 0);  // batch: the dialog is never run
  EXPECT_TRUE(std::filesystem::exists(b_ / "class.lst"));
}

}  // namespace
}  // namespace junctra
