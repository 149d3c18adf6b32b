#include "platform/locale.h"

#include <gtest/gtest.h>

#include "tests/app/app_fake_env.h"

namespace junctra {
namespace {

// The locale variables exist on POSIX only; Windows asks the user's setting.
#ifdef _WIN32
#define SKIP_WITHOUT_LOCALE_VARIABLES() GTEST_SKIP() << "Windows has no locale variables"
#else
#define SKIP_WITHOUT_LOCALE_VARIABLES() static_cast<void>(0)
#endif

std::uint32_t LcidFor(std::map<std::string, std::string> variables) {
  AppFakeEnv env;
  env.variables = std::move(variables);
  return GetUserDefaultLCID(&env);
}

TEST(LocaleTest, CAndPosixAndNoneAreUsEnglish) {
  SKIP_WITHOUT_LOCALE_VARIABLES();
  EXPECT_EQ(LcidFor({}), 0x0409u);
  EXPECT_EQ(LcidFor({{"LANG", ""}}), 0x0409u);
  EXPECT_EQ(LcidFor({{"LANG", "C"}}), 0x0409u);
  EXPECT_EQ(LcidFor({{"LANG", "C.UTF-8"}}), 0x0409u);
  EXPECT_EQ(LcidFor({{"LANG", "POSIX"}}), 0x0409u);
}

TEST(LocaleTest, FirstNonEmptyVariableDecides) {
  SKIP_WITHOUT_LOCALE_VARIABLES();
  EXPECT_EQ(LcidFor({{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "it_IT"}}),
            0x040Cu);
  EXPECT_EQ(LcidFor({{"LC_ALL", ""}, {"LC_MESSAGES", "de_DE"}, {"LANG", "it_IT"}}), 0x0407u);
  EXPECT_EQ(LcidFor({{"LC_MESSAGES", ""}, {"LANG", "it_IT"}}), 0x0410u);
  // A set "C" is not skipped in favour of a later variable.
  EXPECT_EQ(LcidFor({{"LC_ALL", "C"}, {"LANG", "de_DE"}}), 0x0409u);
}

TEST(LocaleTest, LanguageAndRegionThenLanguageAlone) {
  SKIP_WITHOUT_LOCALE_VARIABLES();
  EXPECT_EQ(LcidFor({{"LANG", "de_DE.UTF-8"}}), 0x0407u);
  EXPECT_EQ(LcidFor({{"LANG", "de_AT@euro"}}), 0x0C07u);
  EXPECT_EQ(LcidFor({{"LANG", "de_AT.ISO-8859-15@euro"}}), 0x0C07u);
  EXPECT_EQ(LcidFor({{"LANG", "zh_CN.GB2312"}}), 0x0804u);
  EXPECT_EQ(LcidFor({{"LANG", "nb_NO.UTF-8"}}), 0x0414u);
  // No row for the region: the neutral language.
  EXPECT_EQ(LcidFor({{"LANG", "de_BE.UTF-8"}}), 0x0007u);
  EXPECT_EQ(LcidFor({{"LANG", "sr_RS@latin"}}), 0x7C1Au);
  EXPECT_EQ(LcidFor({{"LANG", "de"}}), 0x0007u);
  // Neither: 0, which names no culture.
  EXPECT_EQ(LcidFor({{"LANG", "xx_YY.UTF-8"}}), 0u);
  EXPECT_EQ(LcidFor({{"LANG", "mt_XX"}}), 0u);
  EXPECT_EQ(LcidFor({{"LANG", ".UTF-8"}}), 0u);
}

}  // namespace
}  // namespace junctra
