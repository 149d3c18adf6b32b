#include "database/read_chunk.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "database/text_scan.h"
#include "platform/text.h"

namespace junctra {
namespace {

// The UTF-16LE units up to the next break, copied to out; how many.
std::size_t CopyRun(const char* bytes, std::size_t units, char16_t* out) {
  if constexpr (std::endian::native == std::endian::little) {
    return CopyUntilBreak(bytes, units, reinterpret_cast<char*>(out));
  } else {
    const std::size_t run = FindBreakUnit(bytes, units);
    for (std::size_t k = 0; k < run; ++k) out[k] = LoadUtf16Le(bytes + 2 * k);
    return run;
  }
}

}  // namespace

ReadChunk DecodeChunk(const char* bytes, std::size_t got, bool unicode, char16_t* out) {
  const std::size_t unit = unicode ? 2 : 1;
  const std::size_t end = got - got % unit;
  ReadChunk chunk;
  chunk.consumed = got;
  std::size_t at = 0;
  for (;;) {
    // The run up to the next break is copied whole.
    std::size_t run;
    if (unicode) {
      run = CopyRun(bytes + at, (end - at) / 2, out + chunk.length);
    } else {
      run = WidenUntilBreak(bytes + at, end - at, out + chunk.length);
    }
    const std::size_t stop = at + unit * run;
    chunk.length += run;
    if (stop == end) return chunk;
    const char16_t c =
        unicode ? LoadUtf16Le(bytes + stop) : static_cast<unsigned char>(bytes[stop]);
    if (c == u'\r') {
      chunk.saw_carriage_return = true;
      at = stop + unit;
      // CR LF, the usual line end: the line feed is taken without another
      // scan.
      if (at < end && (unicode ? LoadUtf16Le(bytes + at) : bytes[at]) == u'\n') {
        out[chunk.length++] = u'\n';
        chunk.consumed = at + unit;
        chunk.line_ended = true;
        return chunk;
      }
    } else if (c == u'\n') {
      out[chunk.length++] = u'\n';
      chunk.consumed = stop + unit;
      chunk.line_ended = true;
      return chunk;
    } else {
      // A NUL: the rest of the chunk is skipped; a tail of NULs is padding.
      chunk.hid_text = std::any_of(bytes + stop, bytes + end, [](char b) { return b != 0; });
      return chunk;
    }
  }
}

}  // namespace junctra
