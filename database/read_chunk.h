// The reading algorithm that the text file class and FileText share: a
// piece of text (what one ReadString delivers) is read chunk by chunk. A
// chunk's characters count up to its first NUL; they are cut after the
// first line feed, and every carriage return among them is removed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace junctra {

struct ReadChunk {
  std::size_t length = 0;    // characters written
  std::size_t consumed = 0;  // bytes taken: through the line feed, else all
  bool line_ended = false;
  // A NUL ended the text and something other than NULs followed it in the
  // chunk: text of the file that is never delivered.
  bool hid_text = false;
  bool saw_carriage_return = false;
};

// Decodes got bytes (UTF-16LE when unicode, an odd last byte dropped; else
// one character per byte) into out, which must not overlap them and needs
// room for as many characters as the bytes hold: past those decoded it may
// be left with scraps.
ReadChunk DecodeChunk(const char* bytes, std::size_t got, bool unicode, char16_t* out);

// What a reading keeps from one piece to the next.
struct PieceReading {
  // The conversion buffer's bytes, which a larger chunk grows.
  std::size_t conv_size = 128;
  // Some chunk's hid_text, saw_carriage_return.
  bool skipped_text = false;
  bool saw_carriage_return = false;
};

// One piece of at most nMax - 1 characters: chunks of at most count - 1
// characters, count being the smaller of the room left and the conversion
// buffer (grown to count characters' bytes first), until one ends a line.
// fetch(bytes) reads at most that many bytes after those consumed so far,
// decodes them after the characters so far and returns the chunk; nothing
// when no byte came. Returns the piece's length: 0 at the end of the file.
template <class Fetch>
std::size_t ReadPieceChunks(std::uint32_t nMax, bool unicode, PieceReading& reading,
                            Fetch&& fetch) {
  const std::uint32_t unit = unicode ? 2 : 1;
  std::uint32_t remaining = nMax;
  while (remaining > 0) {
    const auto count =
        static_cast<std::uint32_t>(std::min<std::size_t>(reading.conv_size, remaining));
    reading.conv_size = std::max<std::size_t>(reading.conv_size, count * unit);
    const std::optional<ReadChunk> chunk = fetch((count - 1) * unit);
    if (!chunk) break;
    reading.skipped_text = reading.skipped_text || chunk->hid_text;
    reading.saw_carriage_return = reading.saw_carriage_return || chunk->saw_carriage_return;
    remaining -= static_cast<std::uint32_t>(chunk->length);
    if (chunk->line_ended) break;
  }
  return nMax - remaining;
}

}  // namespace junctra
