// UTF-16 text helpers: conversions at the edges of the program and the
// C library's string functions that the file formats rely on.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace junctra {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// A path for display and messages (on POSIX its bytes taken as UTF-8).
std::u16string PathToUtf16(const std::filesystem::path& path);
// A path from UTF-16 text (on POSIX stored as UTF-8 bytes).
std::filesystem::path Utf16ToPath(std::u16string_view text);
// A path from UTF-8 text; on POSIX its bytes as they are, valid or not.
std::filesystem::path Utf8ToPath(std::string_view text);
// The other way: a path's UTF-8 text; on POSIX its bytes as they are.
std::string PathToUtf8(const std::filesystem::path& path);

// The letters A to Z folded to a to z; nothing else changes.
inline char16_t FoldAsciiCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}
// Equality with A to Z taken as a to z (the C library's _wcsicmp in its
// default locale); no other character is folded.
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Decimal integer as _wtoi reads it: leading white space, one sign, digits up
// to the first non-digit; no digits give 0. Out of range, it saturates at
// -2147483648 or 2147483647, as the C library's reader does.
std::int32_t ParseDecimal(std::u16string_view text);

// White space as the C library's iswspace classes it in the default locale.
bool IsWhiteSpace(char16_t c);
// text without white space at either end.
std::u16string_view Trim(std::u16string_view text);

// A character that would act on a terminal or reorder the text around it:
// the C0 and C1 controls, DEL, and the bidirectional embeddings, overrides
// and isolates.
inline bool IsDisplayControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}
// text with each such character as U+FFFD, for what is shown or printed;
// stored text never passes through it.
std::u16string MaskControls(std::u16string_view text);

// The decimal digits of value, with a "-" when negative.
void AppendDecimal(std::u16string& out, std::int64_t value);

// The code unit stored little-endian at p.
inline char16_t LoadUtf16Le(const char* p) {
  return static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                               (static_cast<unsigned char>(p[1]) << 8));
}
// units UTF-16LE code units from bytes, appended to out.
void AppendUtf16Le(std::u16string& out, const char* bytes, std::size_t units);

// Replaces "%s" and "%1" to "%9" in a string-table format with the
// arguments ("%s" takes the first); "%%" gives "%". A number without its
// argument stays as it is.
std::u16string FormatMessage(std::u16string_view format,
                             std::initializer_list<std::u16string_view> args);
inline std::u16string FormatMessage(std::u16string_view format, std::u16string_view arg1,
                                    std::u16string_view arg2 = {}) {
  return FormatMessage(format, {arg1, arg2});
}

}  // namespace junctra
