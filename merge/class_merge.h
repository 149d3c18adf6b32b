// The class consistency check and merge.
#pragma once

#include <cstddef>
#include <vector>

#include "merge/conflict.h"

namespace junctra {

class CClassList;
class ResourceModule;

// Checks every class of second against its first namesake in first; each
// conflict appends to conflicts a line made from string 111 of strings and
// where the two differ. Without conflicts, moves the classes first lacks to
// its end, leaving emptied records in second, takes over second's text that
// they point into and returns true; positions then receives, for each class
// position p of second, the position of that class in the merged list.
bool MergeClassLists(CClassList& first, CClassList&& second, ConflictList& conflicts,
                     const ResourceModule& strings, std::vector<std::size_t>& positions);

}  // namespace junctra
