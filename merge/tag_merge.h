// The tag consistency check and merge.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "database/tag_list.h"

namespace junctra {

// Checks every tag of second against its first namesake (A to Z folded) in
// first's iteration order; each conflict appends a line to errors. Without
// conflicts, adds copies of the tags first lacks and returns true.
// class_positions, from MergeClassLists, maps each class position of the
// second database to the merged list: a second tag whose type code c (c >= 4)
// names one of them is compared and copied with code 4 + map[c - 4].
bool MergeTagLists(CTagList& first, const CTagList& second, std::vector<std::u16string>& errors,
                   const std::vector<std::size_t>* class_positions = nullptr);
// The same, but the tags added are moved out of second rather than copied,
// so a merge of large lists holds no third copy of them. Meant for a second
// list that is dropped afterwards; it is left with emptied records.
bool MergeTagLists(CTagList& first, CTagList&& second, std::vector<std::u16string>& errors,
                   const std::vector<std::size_t>* class_positions = nullptr);

}  // namespace junctra
