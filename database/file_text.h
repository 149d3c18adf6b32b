// The text of a file decoded piece by piece, exactly as
// CTAVStdioFile::ReadString delivers it, into one block of memory that a
// TextStore keeps. The file is read in large blocks into a buffer that
// stays in the cache, and the pieces are decoded from there one after
// another into the block, sized for the whole file: a run of pieces, such
// as a long line joined, is one view, and the text takes no more memory
// than the file (twice that for 8-bit text, where one byte becomes two).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "database/read_chunk.h"
#include "platform/stdio_file.h"

namespace junctra {

class CTAVStdioFile;
class TextStore;

class FileText {
 public:
  // For file, open for reading and not yet read from. The block is sized
  // by the file's length: a file that grows while it is read is refused at
  // the piece that would go past it ("busy"), rather than cut short, and
  // one that ends before that length at the piece that meets its end.
  // Throws std::bad_alloc when the text does not fit into memory.
  FileText(CTAVStdioFile& file, std::uint32_t nMax, TextStore& store);

  // The next piece, as file.ReadString(buffer, nMax) would have delivered
  // it; false at the end of the file. The view lives as long as the store.
  // A failed read throws CFileException.
  bool NextPiece(std::u16string_view* piece);
  // As CTAVStdioFile's, for the pieces delivered so far.
  bool SkippedTextAfterNul() const { return reading_.skipped_text; }
  bool SawCarriageReturn() const { return reading_.saw_carriage_return; }
  // Bytes of the file to read, as its length said.
  std::size_t size() const { return expected_; }

  // Once NextPiece has met the end of the file: adds a line feed after the
  // last piece, for a line that the end cut off, and returns line, which
  // ends where the text does, with it. Anything else leaves line as it is.
  std::u16string_view AppendLineFeed(std::u16string_view line);

  // Once the reading is done: throws CFileException ("busy") when the file's
  // length or change times differ from those it had when this began, as
  // when another program wrote to it or cut it meanwhile.
  void CheckUnchanged();

 private:
  // Makes want bytes from position_ on available in the buffer, or as many
  // as the file has left.
  void Fill(std::size_t want);
  // ReadPieceChunks' fetch: decodes at most bytes bytes after the text so far.
  std::optional<ReadChunk> FetchChunk(std::uint32_t bytes);

  CTAVStdioFile& file_;
  std::uint32_t max_;
  bool unicode_;
  FileState opened_;          // the file when this began
  std::size_t expected_ = 0;  // bytes, from the file's length
  std::optional<CFileException> length_error_;
  char16_t* text_ = nullptr;  // the pieces decoded so far: [0, length_)
  std::size_t length_ = 0;
  std::unique_ptr<char[]> buffer_;  // file bytes [buffer_start_, + buffered_)
  std::size_t buffer_size_ = 0;
  std::uint64_t buffer_start_ = 0;
  std::size_t buffered_ = 0;
  std::uint64_t position_ = 0;  // bytes decoded or passed
  std::uint64_t read_ = 0;      // bytes read from the file
  bool end_of_file_ = false;
  PieceReading reading_;
  bool at_end_ = false;
  bool line_feed_added_ = false;
};

}  // namespace junctra
