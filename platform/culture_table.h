// The fixed table of Windows locale identifiers and their culture names.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace junctra {

struct CultureEntry {
  std::uint32_t lcid;
  std::u16string_view name;
};

// All rows, grouped by primary language.
std::span<const CultureEntry> CultureTable();

// Exact lookup of the whole identifier; "" when it is not in the table.
std::u16string_view CultureNameFromLcid(std::uint32_t lcid);

// The identifier named name (A to Z matched without regard to case); 0 when
// no row has that name.
std::uint32_t LcidFromCultureName(std::u16string_view name);

}  // namespace junctra
