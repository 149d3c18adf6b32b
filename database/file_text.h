// The text of a file read whole and decoded in place, piece by piece,
// exactly as CTAVStdioFile::ReadString delivers it. The bytes are read in
// large blocks into one block of memory that a TextStore keeps; each
// piece's characters are written over the bytes they came from, so the
// text takes no more memory than the file (twice that for 8-bit text,
// where one byte becomes two). Pieces lie one after another in the text:
// a run of them, such as a long line joined, is one view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "database/tav_stdio_file.h"
#include "database/text_store.h"
#include "platform/stdio_file.h"

namespace junctra {

class FileText {
 public:
  // Reads file, open for reading and not yet read from, to its end. A
  // failed read ends the bytes there; its error is thrown by the first
  // NextPiece that needs what lies beyond.
  FileText(CTAVStdioFile& file, std::uint32_t nMax, TextStore& store);

  // The next piece, as file.ReadString(buffer, nMax) would have delivered
  // it; false at the end of the file. The view lives as long as the store.
  bool NextPiece(std::u16string_view* piece);
  // As CTAVStdioFile's, for the pieces delivered so far.
  bool SkippedTextAfterNul() const { return skipped_text_; }
  bool SawCarriageReturn() const { return saw_carriage_return_; }
  // Bytes of the file read.
  std::size_t size() const { return size_; }

  // Once NextPiece has met the end of the file: adds a line feed after the
  // last piece, for a line that the end cut off, and returns line, which
  // ends where the text does, with it. Anything else leaves line as it is.
  std::u16string_view AppendLineFeed(std::u16string_view line);

 private:
  void ReadAll(CTAVStdioFile& file, TextStore::Block& block);

  std::uint32_t max_;
  bool unicode_;
  char16_t* text_ = nullptr;  // the pieces decoded so far: [0, length_)
  std::size_t length_ = 0;
  const char* bytes_ = nullptr;  // the file's bytes: [0, size_)
  std::size_t size_ = 0;
  std::size_t position_ = 0;  // bytes decoded or passed
  std::size_t conv_size_;     // ReadString's conversion buffer, as it grows
  std::optional<CFileException> read_error_;
  bool skipped_text_ = false;
  bool saw_carriage_return_ = false;
  bool at_end_ = false;
  bool line_feed_added_ = false;
};

}  // namespace junctra
