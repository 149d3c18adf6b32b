#include "platform/profile.h"

#include <gtest/gtest.h>

#include "tests/app/app_fake_env.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  std::u16string Get(std::u16string_view section, std::u16string_view key,
                     std::u16string_view def = u"none", std::size_t size = 255) {
    return GetPrivateProfileString(section, key, def, size, file_);
  }
  void Write(const std::string& bytes) { WriteFile(file_, bytes); }

  TempDir dir_;
  std::filesystem::path file_ = dir_.path() / "settings.ini";
};

TEST_F(ProfileTest, MatchesNamesWithoutCaseAndCleansValues) {
  Write(
      "Orphan=before any section\n"
      "; comment line\n"
      "  [ Language ]  \n"
      "   ; indented comment=x\n"
      "  CultureName  =  de-DE  \n"
      "Quoted=\"  spaced  \"\n"
      "Single='x'\n"
      "Mismatched=\"x'\n"
      "Doubled=\"\"x\"\"\n"
      "Lone=\"\n"
      "Equals=a=b\n"
      "Inline=de ; not a comment\n"
      "NoEquals\n"
      "Empty=\n");
  EXPECT_EQ(Get(u"language", u"CULTURENAME"), u"de-DE");
  EXPECT_EQ(Get(u"Language", u"Quoted"), u"  spaced  ");
  EXPECT_EQ(Get(u"Language", u"Single"), u"x");
  EXPECT_EQ(Get(u"Language", u"Mismatched"), u"\"x'");
  EXPECT_EQ(Get(u"Language", u"Doubled"), u"\"x\"");
  EXPECT_EQ(Get(u"Language", u"Lone"), u"\"");
  EXPECT_EQ(Get(u"Language", u"Equals"), u"a=b");
  EXPECT_EQ(Get(u"Language", u"Inline"), u"de ; not a comment");
  EXPECT_EQ(Get(u"Language", u"NoEquals"), u"");
  EXPECT_EQ(Get(u"Language", u"Empty"), u"");
  EXPECT_EQ(Get(u"Language", u"; indented comment"), u"none");
  EXPECT_EQ(Get(u"Language", u"Orphan"), u"none");
}

TEST_F(ProfileTest, FirstSectionAndFirstKeyWin) {
  Write(
      "[OEM]\nProductName=First\nproductname=Second\n"
      "[Other]\nCompanyID=1\n"
      "[oem]\nProductName=Third\nCompanyID=40\n");
  EXPECT_EQ(Get(u"OEM", u"ProductName"), u"First");
  // A key only in the later section of the same name is not found.
  EXPECT_EQ(Get(u"OEM", u"CompanyID", u"0"), u"0");
  EXPECT_EQ(Get(u"Other", u"CompanyID"), u"1");
}

TEST_F(ProfileTest, DefaultWhenFileSectionOrKeyIsMissing) {
  EXPECT_EQ(Get(u"OEM", u"ProductName", u"Corvane"), u"Corvane");
  EXPECT_EQ(GetPrivateProfileString(u"OEM", u"ProductName", u"Corvane", 255, ""), u"Corvane");
  EXPECT_EQ(GetPrivateProfileString(u"OEM", u"ProductName", u"Corvane", 255, dir_.path()),
            u"Corvane");

  Write("[OEM]\nCompanyID=40\n");
  EXPECT_EQ(Get(u"OEM", u"ProductName", u"Corvane"), u"Corvane");
  EXPECT_EQ(Get(u"Install", u"Version", u"6.1"), u"6.1");
  // The default loses trailing blanks, as the Windows reader strips them.
  EXPECT_EQ(Get(u"Install", u"Version", u" 6.1 \t"), u" 6.1");

  // A file larger than settings files are is not read: it names nothing.
  for (const std::uintmax_t size :
       {std::uintmax_t{64} << 10, (std::uintmax_t{64} << 10) + 1, std::uintmax_t{64} << 30}) {
    Write("[OEM]\nProductName=Named\n");
    std::filesystem::resize_file(file_, size);  // NUL padding, sparse
    EXPECT_EQ(Get(u"OEM", u"ProductName", u"Corvane"), size <= (64 << 10) ? u"Named" : u"Corvane")
        << size;
  }
}

TEST_F(ProfileTest, ReadsUtf8WithAndWithoutMarkAndUtf16WithMark) {
  Write("[Language]\nCultureName=für\n");
  EXPECT_EQ(Get(u"Language", u"CultureName"), u"für");

  Write("\xEF\xBB\xBF[Language]\r\nCultureName=de-AT\r\n");
  EXPECT_EQ(Get(u"Language", u"CultureName"), u"de-AT");

  // Old Mac line ends.
  Write("[Language]\rCultureName=fr\r");
  EXPECT_EQ(Get(u"Language", u"CultureName"), u"fr");

  std::u16string text = u"[Language]\r\nCultureName=sr-SP-Latn\r\nOther=\u00e4\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  Write(bytes);
  EXPECT_EQ(Get(u"Language", u"CultureName"), u"sr-SP-Latn");
  EXPECT_EQ(Get(u"Language", u"Other"), u"\u00e4");
}

TEST_F(ProfileTest, CutsToBufferSizeLessOne) {
  Write("[S]\nKey=abcdef\nPair=a\U0001F600\n");
  EXPECT_EQ(Get(u"S", u"Key", u"", 5), u"abcd");
  EXPECT_EQ(Get(u"S", u"Key", u"", 7), u"abcdef");
  EXPECT_EQ(Get(u"S", u"Key", u"", 1), u"");
  EXPECT_EQ(Get(u"S", u"Key", u"", 0), u"");
  EXPECT_EQ(Get(u"S", u"Missing", u"Corvane", 4), u"Cor");
  // Half a surrogate pair is dropped rather than kept unpaired.
  EXPECT_EQ(Get(u"S", u"Pair", u"", 3), u"a");
  EXPECT_EQ(Get(u"S", u"Pair", u"", 4), u"a\U0001F600");
}

}  // namespace
}  // namespace junctra
