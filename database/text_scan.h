// Finding the characters that break a run of text: line feed, carriage
// return and NUL. Reading and writing copy the runs between them in bulk.
#pragma once

#include <cstddef>

namespace junctra {

// Index of the first of n UTF-16LE units at p that is a LF, CR or NUL; n
// when there is none.
std::size_t FindBreakUnit(const char* p, std::size_t n);
// The same over n bytes of 8-bit text.
std::size_t FindBreakByte(const char* p, std::size_t n);
// The same over n characters in memory.
std::size_t FindBreakChar(const char16_t* text, std::size_t n);

// Copies UTF-16LE units from src to dst up to the first LF, CR or NUL and
// returns how many it copied (n when there is none): scanning and copying
// in one pass, where a scan and then a copy of each short line cost twice.
// It copies eight units at a time, so up to seven units after the break
// may be copied as well: dst needs room for them. src and dst must not
// overlap. For hosts that store char16_t little-endian.
std::size_t CopyUntilBreak(const char* src, std::size_t n, char* dst);
// The same for 8-bit text, each byte widened to the character of its code
// (ISO 8859-1), sixteen at a time: up to fifteen characters after the break
// may be written too.
std::size_t WidenUntilBreak(const char* src, std::size_t n, char16_t* dst);

}  // namespace junctra
