#include "platform/text.h"

#include <gtest/gtest.h>

namespace junctra {
namespace {

TEST(TextTest, Utf8RoundTripsAndReplacesInvalidInput) {
  EXPECT_EQ(Utf8ToUtf16("Grüße \xF0\x9F\x98\x80"), u"Grüße \U0001F600");
  EXPECT_EQ(Utf16ToUtf8(u"Grüße \U0001F600"), "Grüße \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");          // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong
  const char16_t lone[] = {u'x', 0xD800, u'y', 0};
  EXPECT_EQ(Utf16ToUtf8(lone), "x\xEF\xBF\xBDy");
}

TEST(TextTest, MaskControlsReplacesWhatActsOnATerminalOrReordersText) {
  // Each range's ends and their neighbours outside it.
  const char16_t masked[] = {0x00, 0x1F, 0x7F, 0x80, 0x9B, 0x9F, 0x202A, 0x202E, 0x2066, 0x2069};
  const char16_t kept[] = {0x20, 0x7E, 0xA0, 0x2029, 0x202F, 0x2065, 0x206A, 0xFFFD};
  for (char16_t c : masked) EXPECT_EQ(MaskControls({&c, 1}), u"\uFFFD") << int(c);
  for (char16_t c : kept) EXPECT_EQ(MaskControls({&c, 1}), std::u16string(1, c)) << int(c);
}

TEST(TextTest, CaseFoldingTouchesOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase(u"Pump_1", u"pUMP_1"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(u"Ä", u"ä"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(u"[", u"{"));  // '[' + 32 is '{'
  EXPECT_FALSE(EqualsIgnoringAsciiCase(u"ab", u"abc"));
}

TEST(TextTest, ParseDecimalReadsLikeTheCLibrary) {
  EXPECT_EQ(ParseDecimal(u" 10"), 10);
  EXPECT_EQ(ParseDecimal(u"\t-2|x"), -2);
  EXPECT_EQ(ParseDecimal(u"+7abc"), 7);
  EXPECT_EQ(ParseDecimal(u"x"), 0);
  EXPECT_EQ(ParseDecimal(u""), 0);
  EXPECT_EQ(ParseDecimal(u"- 5"), 0);
  EXPECT_EQ(ParseDecimal(u"70000") & 0xFFFF, 4464);
  EXPECT_EQ(ParseDecimal(u"2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimal(u"4294967296"), 2147483647);
  EXPECT_EQ(ParseDecimal(u"-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseDecimal(u"-99999999999999999999999"), -2147483647 - 1);
}

TEST(TextTest, FormatMessageFillsPlaceholders) {
  EXPECT_EQ(FormatMessage(u"Tag '%s' has different definitions", u"Level"),
            u"Tag 'Level' has different definitions");
  EXPECT_EQ(FormatMessage(u"Error reading file %1 at line %2", u"/a/tagl.txt", u"7"),
            u"Error reading file /a/tagl.txt at line 7");
  EXPECT_EQ(FormatMessage(u"100%% %x", u"a"), u"100% %x");
  EXPECT_EQ(FormatMessage(u"%3 %1 %4 %2", {u"a", u"b", u"c"}), u"c a %4 b");
}

}  // namespace
}  // namespace junctra
