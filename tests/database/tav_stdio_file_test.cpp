#include "database/tav_stdio_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "database/file_text.h"
#include "database/text_store.h"
#include "tests/database/file_bytes.h"
#include "tests/database/reference_text_file.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

using Lines = std::vector<std::optional<std::u16string>>;

// Every ReadString result with the given limit, up to and including the
// first null.
Lines ReadFilePieces(const std::filesystem::path& path, std::uint32_t nMax) {
  CTAVStdioFile file;
  EXPECT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyWrite));
  std::vector<char16_t> buffer(nMax + 1);
  Lines pieces;
  for (;;) {
    const char16_t* text = file.ReadString(buffer.data(), nMax);
    if (text == nullptr) break;
    pieces.emplace_back(text);
  }
  pieces.emplace_back(std::nullopt);
  return pieces;
}

Lines ReadAllPieces(const std::string& bytes, std::uint32_t nMax = 1023) {
  TempDir dir;
  WriteBytes(dir.path() / "f", bytes);
  return ReadFilePieces(dir.path() / "f", nMax);
}

Lines Expect(std::initializer_list<std::u16string> texts) {
  Lines lines(texts.begin(), texts.end());
  lines.emplace_back(std::nullopt);
  return lines;
}

TEST(TextFileTest, RecognisesTheEncodingByTheFirstTwoBytes) {
  const Lines abc_def = Expect({u"abc\n", u"def"});
  EXPECT_EQ(ReadAllPieces("abc\r\ndef"), abc_def);
  EXPECT_EQ(ReadAllPieces("\xFF\xFE" + Utf16LeBytes(u"abc\r\ndef")), abc_def);
  EXPECT_EQ(ReadAllPieces(Utf16LeBytes(u"abc\r\ndef")), abc_def);

  // Empty, a bare mark and one byte (UTF-16, the odd byte dropped).
  EXPECT_EQ(ReadAllPieces(""), Expect({}));
  EXPECT_EQ(ReadAllPieces("\xFF\xFE"), Expect({}));
  EXPECT_EQ(ReadAllPieces("a"), Expect({}));

  // Other marks are 8-bit text, one character per byte.
  EXPECT_EQ(ReadAllPieces("\xFE\xFFx\n"), Expect({u"\u00FE\u00FFx\n"}));
  EXPECT_EQ(ReadAllPieces("\xEF\xBB\xBFx"), Expect({u"\u00EF\u00BB\u00BFx"}));
  // UTF-16 without mark needs a zero byte in the first character.
  EXPECT_EQ(ReadAllPieces(Utf16LeBytes(u"/x\n")), Expect({u"/x\n"}));
  EXPECT_EQ(ReadAllPieces(Utf16LeBytes(u"\u263Ax")), Expect({u":&x"}));
  // 8-bit text keeps every byte value.
  EXPECT_EQ(ReadAllPieces("ab\xE9\xFF\n"), Expect({u"ab\u00E9\u00FF\n"}));
}

TEST(TextFileTest, DropsCarriageReturnsAndOddLastByte) {
  EXPECT_EQ(ReadAllPieces("a\rb\n"), Expect({u"ab\n"}));
  EXPECT_EQ(ReadAllPieces("abc\r"), Expect({u"abc"}));
  EXPECT_EQ(ReadAllPieces("\xFF\xFE" + Utf16LeBytes(u"a\r\r\nb") + "x"), Expect({u"a\n", u"b"}));
  // Nothing but carriage returns delivers nothing at all.
  EXPECT_EQ(ReadAllPieces("\r\r\r"), Expect({}));
}

TEST(TextFileTest, SplitsLongLinesIntoPiecesOfAtMostLimitMinusOne) {
  for (const bool unicode : {false, true}) {
    SCOPED_TRACE(unicode);
    auto bytes = [unicode](const std::u16string& text) {
      if (unicode) return "\xFF\xFE" + Utf16LeBytes(text);
      return std::string(text.begin(), text.end());
    };
    const std::u16string fits(1021, u'x');
    const std::u16string full(1022, u'y');
    EXPECT_EQ(ReadAllPieces(bytes(fits + u"\n" + full + u"\nz")),
              Expect({fits + u"\n", full, u"\n", u"z"}));
    const std::u16string long_line(3000, u'q');
    EXPECT_EQ(ReadAllPieces(bytes(long_line + u"\n")),
              Expect({long_line.substr(0, 1022), long_line.substr(0, 1022),
                      long_line.substr(0, 956) + u"\n"}));
    // A limit of 1 never delivers a character.
    EXPECT_EQ(ReadAllPieces(bytes(u"ab\n"), 1), Expect({}));
    EXPECT_EQ(ReadAllPieces(bytes(u"ab\n"), 2), Expect({u"a", u"b", u"\n"}));
  }
}

// A NUL ends the text of the chunk it is in and the rest of that chunk is
// skipped. The first call of a fresh file fetches 127 characters first, so
// the text after the NUL is lost up to character 127.
TEST(TextFileTest, NulSkipsTheRestOfItsChunk) {
  std::u16string text = u"a";
  text += u'\0';
  text += u"b\n";
  for (int i = 0; i < 20; ++i) text += u"0123456789\n";
  // Character 127 is the '2' of the twelfth "0123456789\n".
  Lines expected = {u"a23456789\n"};
  for (int i = 0; i < 8; ++i) expected.emplace_back(u"0123456789\n");
  expected.emplace_back(std::nullopt);

  EXPECT_EQ(ReadAllPieces("\xFF\xFE" + Utf16LeBytes(text)), expected);
  EXPECT_EQ(ReadAllPieces(std::string(text.begin(), text.end()).insert(0, "x")), [&] {
    // One more character in front: the chunk ends one character earlier.
    Lines shifted = expected;
    shifted[0] = u"xa123456789\n";
    return shifted;
  }());
}

// Once the conversion buffer has grown, a UTF-16 chunk is 1022 characters,
// an 8-bit one stays 127: the same NUL loses different text.
TEST(TextFileTest, NulEffectFollowsTheConversionBufferGrowth) {
  std::u16string text;
  for (int i = 0; i < 6; ++i) text += u"line\n";  // grows the buffer
  std::u16string tail;
  for (int i = 0; i < 150; ++i) tail += u"0123456789\n";
  text += u"n";
  text += u'\0';
  text += tail;
  const Lines unicode = ReadAllPieces("\xFF\xFE" + Utf16LeBytes(text));
  ASSERT_GE(unicode.size(), 7u);
  // 1022 characters from "n": the NUL's chunk ends before tail character 1020.
  EXPECT_EQ(unicode[6], u"n" + tail.substr(1020, 3));
  const Lines eight_bit = ReadAllPieces(std::string(text.begin(), text.end()));
  ASSERT_GE(eight_bit.size(), 7u);
  EXPECT_EQ(eight_bit[6], u"n" + tail.substr(125, 7));
}

// Random files, read by both the class and the literal reference with
// random limits: same texts, same positions, same flags.
TEST(TextFileTest, MatchesTheLiteralAlgorithmOnRandomFiles) {
  std::mt19937 random(20240611);
  auto pick = [&random](int n) { return static_cast<int>(random() % n); };
  const char16_t kUnits[] = {u'a', u'b', u'\n', u'\r', u'\0', u'\u263A', u'|', u'#'};
  const std::uint32_t kLimits[] = {1, 2, 3, 64, 127, 128, 129, 255, 1023, 1024, 1025, 3000};
  TempDir dir;
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    // Text with lines of varied length, occasional NULs and CRs.
    std::u16string text;
    const int lines = pick(40);
    for (int l = 0; l < lines; ++l) {
      const int length = pick(4) == 0 ? pick(2500) : pick(60);
      for (int k = 0; k < length; ++k) {
        const int r = pick(1000);
        text += r < 3 ? kUnits[4] : r < 20 ? kUnits[3] : kUnits[r % 8 == 4 ? 0 : r % 8];
      }
      text += u'\n';
    }
    std::string bytes;
    switch (pick(4)) {
      case 0:
        bytes = "\xFF\xFE" + Utf16LeBytes(text);
        break;
      case 1:
        bytes = Utf16LeBytes(u"x" + text);
        break;
      default:
        for (char16_t c : text) bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.insert(0, "xy");
    }
    if (pick(3) == 0) bytes += 'z';
    WriteBytes(dir.path() / "f", bytes);

    ReferenceTextFile reference(bytes);
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(dir.path() / "f", CFile::modeRead));
    ASSERT_EQ(file.IsUnicode(), reference.unicode());
    std::vector<char16_t> buffer(3001);
    const bool fixed = pick(2) == 0;
    for (int call = 0; call < 100000; ++call) {
      std::optional<std::u16string> want;
      std::optional<std::u16string> got;
      const std::uint32_t limit = fixed ? 1023 : kLimits[pick(12)];
      want = reference.ReadString(limit);
      if (const char16_t* text = file.ReadString(buffer.data(), limit)) got = text;
      ASSERT_EQ(got, want) << "call " << call;
      ASSERT_EQ(file.GetLogicalPosition(), reference.position()) << "call " << call;
      ASSERT_EQ(file.SkippedTextAfterNul(), reference.skipped_text()) << "call " << call;
      ASSERT_EQ(file.SawCarriageReturn(), reference.saw_cr()) << "call " << call;
      if (!want && reference.position() >= bytes.size()) break;
    }

    // The whole file decoded in place, at one limit: the same pieces, one
    // after another in its text.
    const std::uint32_t limit = fixed ? 1023 : kLimits[pick(12)];
    ReferenceTextFile again(bytes);
    CTAVStdioFile whole;
    ASSERT_TRUE(whole.Open(dir.path() / "f", CFile::modeRead));
    TextStore store;
    FileText decoded(whole, limit, store);
    const char16_t* end = nullptr;
    for (int piece = 0;; ++piece) {
      const std::optional<std::u16string> want = again.ReadString(limit);
      std::u16string_view got;
      ASSERT_EQ(decoded.NextPiece(&got), want.has_value()) << "piece " << piece;
      ASSERT_EQ(decoded.SkippedTextAfterNul(), again.skipped_text()) << "piece " << piece;
      ASSERT_EQ(decoded.SawCarriageReturn(), again.saw_cr()) << "piece " << piece;
      if (!want) break;
      ASSERT_EQ(got, *want) << "piece " << piece;
      if (end != nullptr) {
        ASSERT_EQ(got.data(), end);
      }
      end = got.data() + got.size();
    }
  }
}

TEST(TextFileTest, WriteStringEndsEachLineWithCrLf) {
  TempDir dir;
  const auto path = dir.path() / "out";
  {
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    file.WriteString(u"x\n");
    file.WriteString(u"a\r\nb");
    file.WriteString(u"");
    file.WriteString(std::u16string_view(u"c\0d", 3));  // ends at the NUL
    file.WriteString(u"\u263A\r");
    file.Close();
  }
  EXPECT_EQ(ReadBytes(path), "\xFF\xFE" + Utf16LeBytes(u"x\r\na\r\n\r\nbc\u263A\r\n"));
  // A text longer than the write buffer takes goes out in slices.
  std::u16string lines, written;
  for (int i = 0; i < 300000; ++i) lines += i % 5 == 0 ? u"\n" : u"y";
  for (char16_t c : lines) written += c == u'\n' ? u"\r\n" : u"y";
  {
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    file.WriteString(lines);
    file.Close();
  }
  EXPECT_EQ(ReadBytes(path), "\xFF\xFE" + Utf16LeBytes(written));
}

TEST(TextFileTest, CreatingWritesTheMarkAndEmptiesTheFile) {
  TempDir dir;
  const auto path = dir.path() / "out";
  WriteBytes(path, "old 8-bit content\n");
  {
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(
        path, CFile::typeText | CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    EXPECT_TRUE(file.IsUnicode());
    EXPECT_EQ(file.GetLogicalPosition(), 0u);
  }
  EXPECT_EQ(ReadBytes(path), "\xFF\xFE");

  // modeNoTruncate keeps an existing file and reads its encoding instead.
  WriteBytes(path, "abc\n");
  {
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    EXPECT_FALSE(file.IsUnicode());
    char16_t line[8];
    ASSERT_NE(file.ReadString(line, 8), nullptr);
    EXPECT_EQ(std::u16string(line), u"abc\n");
  }
  EXPECT_EQ(ReadBytes(path), "abc\n");
  // ...and creates a missing one as usual.
  const auto fresh = dir.path() / "fresh";
  {
    CTAVStdioFile file;
    ASSERT_TRUE(file.Open(fresh, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
  }
  EXPECT_EQ(ReadBytes(fresh), "\xFF\xFE");
}

TEST(TextFileTest, OpenFailsQuietlyAndKeepsTheReason) {
  TempDir dir;
  CTAVStdioFile file;
  EXPECT_FALSE(file.Open(dir.path() / "missing", CFile::modeRead));
  EXPECT_EQ(file.GetOpenError(), ENOENT);
  EXPECT_FALSE(file.Open(dir.path(), CFile::modeRead));
  EXPECT_EQ(file.GetOpenError(), EISDIR);
  EXPECT_FALSE(file.Open(dir.path(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.GetOpenError(), EISDIR);
  EXPECT_FALSE(file.Open(dir.path() / "no" / "such", CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.GetOpenError(), ENOENT);

  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.path() / "missing"));
  WriteBytes(dir.path() / "here", "");
  EXPECT_TRUE(FileExists(dir.path() / "here"));
}

TEST(TextFileTest, ReadAndSeekWorkOnTheLogicalPosition) {
  TempDir dir;
  std::string bytes = "\xFF\xFE" + Utf16LeBytes(u"ab\n");
  for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<char>('A' + i % 26));
  WriteBytes(dir.path() / "f", bytes);
  CTAVStdioFile file;
  ASSERT_TRUE(file.Open(dir.path() / "f", CFile::modeRead));
  EXPECT_EQ(file.GetLogicalPosition(), 2u);
  char16_t buffer[8];
  ASSERT_NE(file.ReadString(buffer, 8), nullptr);
  EXPECT_EQ(std::u16string(buffer), u"ab\n");
  // Raw reads go on right after the line feed, small or large.
  EXPECT_EQ(file.GetLogicalPosition(), 8u);
  std::string raw(2500, '\0');
  EXPECT_EQ(file.Read(raw.data(), 10), 10u);
  EXPECT_EQ(raw.substr(0, 10), bytes.substr(8, 10));
  EXPECT_EQ(file.Read(raw.data(), 2500), 2500u);
  EXPECT_EQ(raw, bytes.substr(18, 2500));
  EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
  EXPECT_EQ(file.GetLogicalPosition(), 4u);
  ASSERT_NE(file.ReadString(buffer, 8), nullptr);
  EXPECT_EQ(std::u16string(buffer), u"b\n");
  EXPECT_EQ(file.Seek(-2, CFile::end), bytes.size() - 2);
  EXPECT_EQ(file.Read(raw.data(), 2500), 2u);
  EXPECT_EQ(file.Read(raw.data(), 10), 0u);
}

}  // namespace
}  // namespace junctra
