// The hash of a name with A to Z taken as a to z, which both the tag map's
// index and the case-blind lookups of the merge use: a name is hashed once,
// when it is read, and the hash kept beside it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/text.h"

namespace junctra {

// Four UTF-16 units are folded and mixed in at a time, with one
// multiplication: the chain of multiplications, not the folding, is what
// takes the time.
inline std::uint32_t FoldedNameHash(std::u16string_view name) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;
  std::uint64_t h = name.size() * kMultiplier;
  const auto mix = [&h](std::uint64_t word) {
    h = (h ^ word) * kMultiplier;
    h ^= h >> 29;  // the high bits into the low ones, which the index uses
  };
  std::size_t i = 0;
  for (; i + 4 <= name.size(); i += 4) {
    mix(std::uint64_t{FoldAsciiCase(name[i])} | std::uint64_t{FoldAsciiCase(name[i + 1])} << 16 |
        std::uint64_t{FoldAsciiCase(name[i + 2])} << 32 |
        std::uint64_t{FoldAsciiCase(name[i + 3])} << 48);
  }
  if (i < name.size()) {
    std::uint64_t word = 0;
    for (unsigned shift = 0; i < name.size(); ++i, shift += 16) {
      word |= std::uint64_t{FoldAsciiCase(name[i])} << shift;
    }
    mix(word);
  }
  h *= kMultiplier;
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

}  // namespace junctra
