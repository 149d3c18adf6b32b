// A line of a database file put together from its fields and written with
// one WriteString. A long field, such as a text of megabytes read as one
// line, is written on its own rather than copied into the line, so that
// saving never holds a second copy of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace junctra {

class TextOut;

class LineWriter {
 public:
  explicit LineWriter(TextOut& file) : file_(file) {}

  LineWriter& operator<<(std::u16string_view text);
  LineWriter& operator<<(const char16_t* text) { return *this << std::u16string_view(text); }
  // In decimal.
  LineWriter& operator<<(std::int64_t number);
  // Writes what has been put together.
  void Flush();

 private:
  // Fields this long are written on their own. Only there does a NUL in a
  // field end just that field rather than the rest of the line; no text
  // read from a file holds one.
  static constexpr std::size_t kLongField = 4096;

  TextOut& file_;
  std::u16string line_;
};

}  // namespace junctra
