// Fetching memory ahead of its use, where a loop goes over records that lie
// anywhere in memory and would otherwise wait for each in turn.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace junctra {

// Starts fetching the cache line at p; never faults, whatever p is. On x86
// it is written as an instruction of its own: GCC 12 deletes a
// __builtin_prefetch that is all a branch or a loop does, which left most
// of them out.
inline void Prefetch(const void* p) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#elif defined(__GNUC__)
  __builtin_prefetch(p);
#endif
}

// The index of the element ahead steps after i, or the last one.
inline std::size_t Ahead(std::size_t i, std::size_t ahead, std::size_t size) {
  return std::min(i + ahead, size - 1);
}

}  // namespace junctra
