#include "database/file_text.h"

#include <algorithm>
#include <cstring>

#include "database/read_chunk.h"

namespace junctra {
namespace {

// Bytes read at a time. A read that fails loses at most this much before
// the line being read, which is the one reported.
constexpr std::size_t kReadBlock = 128 * 1024;

// Characters of a block for the text of raw bytes, with one to spare for
// AppendLineFeed.
std::size_t TextCapacity(std::size_t raw, bool unicode) {
  return (unicode ? (raw + 1) / 2 : raw) + 1;
}

// Where the raw bytes go in that block. UTF-16 characters are never wider
// than their bytes, so the text overwrites the bytes from the start. 8-bit
// characters are twice as wide: the bytes go at the block's end, where byte
// k lies at or beyond offset raw + 2 + k, while character k ends at 2k + 2.
std::size_t RawOffset(std::size_t raw, bool unicode) { return unicode ? 0 : raw + 2; }

}  // namespace

FileText::FileText(CTAVStdioFile& file, std::uint32_t nMax, TextStore& store)
    : max_(nMax), unicode_(file.IsUnicode()), conv_size_(CTAVStdioFile::kInitialConvBuffer) {
  TextStore::Block block;
  ReadAll(file, block);
  text_ = store.Add(std::move(block));
}

void FileText::ReadAll(CTAVStdioFile& file, TextStore::Block& block) {
  std::size_t capacity = 0;  // raw bytes that block has room for
  char* raw = nullptr;
  auto make_room = [&](std::size_t bytes) {
    TextStore::Block bigger = TextStore::NewBlock(TextCapacity(bytes, unicode_));
    char* bigger_raw = reinterpret_cast<char*>(bigger.get()) + RawOffset(bytes, unicode_);
    if (size_ > 0) std::memcpy(bigger_raw, raw, size_);
    block = std::move(bigger);
    raw = bigger_raw;
    capacity = bytes;
  };
  std::size_t expected = 0;
  try {
    const std::uint64_t length = file.GetLength();
    const std::uint64_t start = file.GetLogicalPosition();
    expected = length > start ? static_cast<std::size_t>(length - start) : 0;
  } catch (const CFileException& e) {
    read_error_ = e;
  }
  make_room(expected);
  try {
    while (!read_error_) {
      if (size_ < capacity) {
        const auto want = static_cast<std::uint32_t>(std::min(kReadBlock, capacity - size_));
        const std::uint32_t got = file.Read(raw + size_, want);
        if (got == 0) break;
        size_ += got;
        continue;
      }
      // Full: the file may have grown since its length was taken.
      char more[4096];
      const std::uint32_t got = file.Read(more, sizeof more);
      if (got == 0) break;
      make_room(std::max(2 * capacity, capacity + kReadBlock));
      std::memcpy(raw + size_, more, got);
      size_ += got;
    }
  } catch (const CFileException& e) {
    read_error_ = e;
  }
  bytes_ = raw;
}

bool FileText::NextPiece(std::u16string_view* piece) {
  const std::size_t start = length_;
  const std::size_t unit = unicode_ ? 2 : 1;
  std::uint32_t remaining = max_;
  // ReadString's loop: chunks of at most count - 1 characters, count never
  // more than the conversion buffer holds, until a line feed or nMax - 1.
  while (remaining > 0) {
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(conv_size_, remaining));
    conv_size_ = std::max<std::size_t>(conv_size_, count * unit);
    const std::size_t want = (count - 1) * unit;
    if (position_ + want > size_ && read_error_) throw *read_error_;
    const std::size_t got = std::min(want, size_ - position_);
    if (got == 0) break;
    const ReadChunk chunk = DecodeChunk(bytes_ + position_, got, unicode_, text_ + length_);
    position_ += chunk.consumed;
    length_ += chunk.length;
    skipped_text_ = skipped_text_ || chunk.hid_text;
    saw_carriage_return_ = saw_carriage_return_ || chunk.saw_carriage_return;
    remaining -= static_cast<std::uint32_t>(chunk.length);
    if (chunk.line_ended) break;
  }
  if (remaining == max_) {
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
