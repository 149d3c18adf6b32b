#include "database/file_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "database/read_chunk.h"
#include "database/tav_stdio_file.h"
#include "database/text_store.h"

namespace junctra {
namespace {

// Bytes read at a time, as cat reads: large enough for few calls, small
// enough to stay in the cache until decoded.
constexpr std::size_t kReadBlock = 128 * 1024;
// Room beyond it for the rest of a chunk, which never spans more than
// 1023 UTF-16 characters.
constexpr std::size_t kChunkRoom = 4096;
// The line feed that AppendLineFeed adds. A chunk writes no further than
// the characters its bytes hold, and the bytes read never exceed the
// file's length.
constexpr std::size_t kSpareChars = 1;

}  // namespace

FileText::FileText(CTAVStdioFile& file, std::uint32_t nMax, TextStore& store)
    : file_(file), max_(nMax), unicode_(file.IsUnicode()) {
  try {
    opened_ = file.GetState();
    const std::uint64_t start = file.GetLogicalPosition();
    const std::uint64_t bytes = opened_.size > start ? opened_.size - start : 0;
    // More than the address space holds, even before it is doubled.
    if (bytes > SIZE_MAX / 4) throw std::bad_alloc();
    expected_ = static_cast<std::size_t>(bytes);
  } catch (const CFileException& e) {
    length_error_ = e;  // thrown where the first piece is read
  }
  // A small file needs no more than its own size.
  buffer_size_ = std::min(kReadBlock, expected_) + kChunkRoom;
  buffer_ = std::make_unique_for_overwrite<char[]>(buffer_size_);
  text_ = store.Add(TextStore::NewBlock((unicode_ ? expected_ / 2 : expected_) + kSpareChars));
}

void FileText::Fill(std::size_t want) {
  if (length_error_) throw *length_error_;
  if (end_of_file_) return;
  const auto offset = static_cast<std::size_t>(position_ - buffer_start_);
  // What is left moves to the front; the read goes after it.
  std::memmove(buffer_.get(), buffer_.get() + offset, buffered_ - offset);
  buffer_start_ = position_;
  buffered_ -= offset;
  while (buffered_ < want && !end_of_file_) {
    const std::uint32_t got =
        file_.Read(buffer_.get() + buffered_, static_cast<std::uint32_t>(buffer_size_ - buffered_));
    end_of_file_ = got == 0;
    read_ += got;
    buffered_ += got;
    // Grown or cut while it is read: the file is not the one it was.
    if (read_ > expected_ || (end_of_file_ && read_ < expected_)) {
      throw CFileException(file_.GetFilePath(), EBUSY, "read");
    }
  }
}

void FileText::CheckUnchanged() {
  if (length_error_) throw *length_error_;
  if (file_.GetState() != opened_) throw CFileException(file_.GetFilePath(), EBUSY, "read");
}

inline std::optional<ReadChunk> FileText::FetchChunk(std::uint32_t bytes) {
  auto offset = static_cast<std::size_t>(position_ - buffer_start_);
  if (buffered_ - offset < bytes) {
    Fill(bytes);
    offset = static_cast<std::size_t>(position_ - buffer_start_);
  }
  const std::size_t got = std::min<std::size_t>(bytes, buffered_ - offset);
  if (got == 0) return std::nullopt;
  const ReadChunk chunk = DecodeChunk(buffer_.get() + offset, got, unicode_, text_ + length_);
  position_ += chunk.consumed;
  length_ += chunk.length;
  return chunk;
}

bool FileText::NextPiece(std::u16string_view* piece) {
  const std::size_t start = length_;
  if (ReadPieceChunks(max_, unicode_, reading_,
                      [this](std::uint32_t bytes) { return FetchChunk(bytes); }) == 0) {
    at_end_ = true;
    return false;
  }
  *piece = std::u16string_view(text_ + start, length_ - start);
  return true;
}

std::u16string_view FileText::AppendLineFeed(std::u16string_view line) {
  if (!at_end_ || line_feed_added_ || line.data() + line.size() != text_ + length_) return line;
  line_feed_added_ = true;
  text_[length_++] = u'\n';
  return std::u16string_view(line.data(), line.size() + 1);
}

}  // namespace junctra
