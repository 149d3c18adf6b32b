// The class consistency check and merge, and the list helpers it shares
// with the tag check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/class_list.h"

namespace junctra {

// True when the lists differ: another length, or an entry that differs
// beyond the case of A to Z.
bool CompareStringArrays(const std::vector<std::u16string>& a,
                         const std::vector<std::u16string>& b);
// True when the lists differ; entries compared exactly.
bool CompareWordArrays(const std::vector<std::uint16_t>& a, const std::vector<std::uint16_t>& b);
void CopyStringArray(std::vector<std::u16string>& target,
                     const std::vector<std::u16string>& source);
void CopyWordArray(std::vector<std::uint16_t>& target, const std::vector<std::uint16_t>& source);

// Checks every class of second against its first namesake in first; each
// conflict appends a line to errors. Without conflicts, appends the classes
// first lacks and returns true. When positions is given and the result is
// true, it receives for each class position p of second the position of the
// same class in the merged list.
bool MergeClassLists(CClassList& first, const CClassList& second,
                     std::vector<std::u16string>& errors,
                     std::vector<std::size_t>* positions = nullptr);
// The same, but the definitions appended are moved out of second rather
// than copied. Meant for a second list that is dropped afterwards; it is
// left with emptied records.
bool MergeClassLists(CClassList& first, CClassList&& second, std::vector<std::u16string>& errors,
                     std::vector<std::size_t>* positions = nullptr);

}  // namespace junctra
