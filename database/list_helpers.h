// Comparisons of the record lists, shared by the class and tag records.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "database/section_lines.h"

namespace junctra {

// True when the lists differ: another length, or an entry that differs
// beyond the case of A to Z.
bool CompareStringArrays(const std::vector<std::u16string_view>& a,
                         const std::vector<std::u16string_view>& b);
// The same for two sections, line by line.
bool CompareStringArrays(const SectionLines& a, const SectionLines& b);
// True when the lists differ; entries compared exactly.
bool CompareWordArrays(const std::vector<std::uint16_t>& a, const std::vector<std::uint16_t>& b);

}  // namespace junctra
