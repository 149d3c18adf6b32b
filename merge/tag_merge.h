// The tag consistency check and merge.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "merge/conflict.h"
#include "platform/env.h"

namespace junctra {

class CTagList;
class ResourceModule;

// Checks every tag of second against its first namesake (A to Z folded) in
// first's iteration order; each conflict appends to conflicts a line made
// from string 112 of strings and where the two differ, with class_names, the
// merged class list's names, naming the classes of differing type codes.
// Without conflicts, adds the tags first lacks to it, taking over second's
// entries and the text they point into (second is left empty), and
// returns true. class_positions,
// from MergeClassLists, maps each class position of the second database to
// the merged list: a second tag whose type code c (c >= 4) names one of them
// is compared and added with code 4 + class_positions[c - 4]. The work is
// shared among the threads env->RunTasks gives.
bool MergeTagLists(CTagList& first, CTagList&& second, ConflictList& conflicts,
                   const ResourceModule& strings, const std::vector<std::size_t>& class_positions,
                   const std::vector<std::u16string_view>& class_names = {},
                   Env* env = Env::Default());

}  // namespace junctra
