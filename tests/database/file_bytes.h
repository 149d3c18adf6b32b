// Raw bytes of database files in tests, beyond tests/database_files.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tests/database_files.h"

namespace junctra {

// UTF-16LE bytes of text, as stored: no mark, no line end translation.
inline std::string Utf16LeBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// The text of a file as the program writes it; empty optional when the
// bytes are not exactly that (no mark, odd length, a CR or LF not in a pair).
inline std::optional<std::u16string> DecodeSystemFile(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes.substr(0, 2) != "\xFF\xFE") {
    return std::nullopt;
  }
  std::u16string text;
  bool after_cr = false;
  for (std::size_t i = 2; i < bytes.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (after_cr != (c == u'\n')) return std::nullopt;
    after_cr = c == u'\r';
    if (!after_cr) text += c;
  }
  if (after_cr) return std::nullopt;
  return text;
}

}  // namespace junctra
