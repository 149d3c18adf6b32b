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

}  // namespace junctra
