// A plain, literal reading of the text file class's reading algorithm over
// bytes in memory: every read goes through the 2048-byte read-ahead, every
// chunk is read whole into the conversion buffer, converted up to its first
// NUL and then cut after its first line feed. The real class must deliver
// exactly what this delivers; only the loop over a piece's chunks is the
// shared one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "database/read_chunk.h"

namespace junctra {

class ReferenceTextFile {
 public:
  explicit ReferenceTextFile(std::string bytes) : bytes_(std::move(bytes)) {
    std::uint16_t value = 0;
    if (bytes_.size() >= 1) value = static_cast<unsigned char>(bytes_[0]);
    if (bytes_.size() >= 2) value |= static_cast<unsigned char>(bytes_[1]) << 8;
    const bool bom = bytes_.size() >= 2 && value == 0xFEFF;
    unicode_ = bom || (value & 0xFF) == 0 || (value >> 8) == 0;
    position_ = bom ? 2 : 0;
  }

  bool unicode() const { return unicode_; }
  bool skipped_text() const { return reading_.skipped_text; }
  bool saw_cr() const { return reading_.saw_carriage_return; }
  std::uint64_t position() const { return position_; }

  std::optional<std::u16string> ReadString(std::uint32_t nMax) {
    if (nMax < 1) return std::nullopt;
    std::u16string text;
    auto fetch = [&](std::uint32_t bytes) { return FetchChunk(bytes, text); };
    if (ReadPieceChunks(nMax, unicode_, reading_, fetch) == 0) return std::nullopt;
    return text;
  }

 private:
  std::uint32_t StreamRead(char* dst, std::uint64_t at, std::uint32_t count) const {
    if (at >= bytes_.size()) return 0;
    const std::uint32_t n =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(count, bytes_.size() - at));
    std::memcpy(dst, bytes_.data() + at, n);
    return n;
  }

  bool FillBuffer() {
    start_ = position_;
    count_ = StreamRead(read_buffer_.data(), position_, 2048);
    return count_ != 0;
  }

  std::uint32_t Read(char* dst, std::uint32_t count) {
    if (count > read_buffer_.size()) {
      const std::uint32_t got = StreamRead(dst, position_, count);
      if (got == 0) return 0;
      count_ = 0;
      start_ = 0;
      position_ += got;
      return got;
    }
    if (count_ == 0 || position_ + count > start_ + count_) {
      if (!FillBuffer()) return 0;
    }
    if (position_ < start_ && !FillBuffer()) return 0;
    const std::uint32_t n =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(count, count_ - (position_ - start_)));
    // A request for no bytes may come with no buffer at all.
    if (n != 0) std::memcpy(dst, read_buffer_.data() + (position_ - start_), n);
    position_ += n;
    return n;
  }

  // Appends the chunk to text.
  std::optional<ReadChunk> FetchChunk(std::uint32_t bytes, std::u16string& text) {
    const std::uint64_t pos = position_;
    const std::uint32_t unit = unicode_ ? 2 : 1;
    if (bytes > conv_.size()) conv_.resize(bytes);
    const std::uint32_t got = Read(conv_.data(), bytes);
    if (got < 1) return std::nullopt;
    ReadChunk chunk;
    std::u16string decoded;
    bool after_nul = false;
    bool tail_has_text = false;
    for (std::uint32_t k = 0; k < got / unit; ++k) {
      const auto* p = reinterpret_cast<const unsigned char*>(conv_.data() + k * unit);
      const char16_t c = unicode_ ? static_cast<char16_t>(p[0] | (p[1] << 8)) : p[0];
      if (c == 0) after_nul = true;
      if (after_nul) {
        tail_has_text = tail_has_text || c != 0;
        continue;
      }
      decoded.push_back(c);
    }
    const std::size_t lf = decoded.find(u'\n');
    if (lf != std::u16string::npos) {
      decoded.resize(lf + 1);
      position_ = pos + (lf + 1) * unit;
      chunk.line_ended = true;
    } else {
      chunk.hid_text = tail_has_text;
    }
    chunk.saw_carriage_return = std::erase(decoded, u'\r') > 0;
    chunk.length = decoded.size();
    text += decoded;
    return chunk;
  }

  std::string bytes_;
  PieceReading reading_;
  bool unicode_ = false;
  std::uint64_t position_ = 0;
  std::vector<char> read_buffer_ = std::vector<char>(2048);
  std::uint64_t start_ = 0;
  std::uint32_t count_ = 0;
  std::vector<char> conv_;
};

}  // namespace junctra
