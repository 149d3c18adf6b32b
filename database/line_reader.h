// Lines of a database file as the loaders take them: the pieces that
// ReadString delivers, or whole lines joined from them, each with the number
// of the line of the file it starts on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/tav_stdio_file.h"

namespace junctra {

class LineReader {
 public:
  // nMax as for CTAVStdioFile::ReadString.
  LineReader(CTAVStdioFile* file, std::uint32_t nMax);

  // The next piece; false at the end of the file.
  bool ReadPiece();
  // Joins the pieces that follow the current one until the line ends in "\n"
  // or the file ends.
  void CompleteLine();
  // The next whole line; false at the end of the file.
  bool ReadLine() {
    if (!ReadPiece()) return false;
    CompleteLine();
    return true;
  }

  // Valid until the next read.
  std::u16string_view line() const { return line_; }
  // 1-based number of the file line on which the current line starts.
  std::size_t line_number() const { return line_number_; }

  // Reads to the end of the file. True when nothing but blank lines was
  // left; otherwise *first receives the number of the first other line.
  bool OnlyBlankLinesLeft(std::size_t* first);

 private:
  bool NextPiece(std::u16string_view* piece);

  CTAVStdioFile* file_;
  std::uint32_t max_;
  std::vector<char16_t> buffer_;
  std::u16string joined_;
  std::u16string_view line_;
  std::size_t line_number_ = 0;
  std::size_t next_line_number_ = 1;
};

// Only blanks, tabs and line feeds.
bool IsBlankLine(std::u16string_view line);

}  // namespace junctra
