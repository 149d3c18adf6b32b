// A conflict that stops a merge: the line the error list shows and where the
// two definitions differ. The checks fill a ConflictList in the order they
// find them; the merge command hands it to whoever runs it.
#pragma once

#include <string>
#include <vector>

namespace junctra {

// What differs between two definitions that a check found different: the
// first part, in file order, where they differ, with both versions of it.
// An empty part: no detail (a line about a class code).
struct ConflictDetail {
  std::u16string part;  // "Alarm line 2", "Type", ...
  // That part in each database: a number, a text in quotes as ShownText
  // shows it, or "(none)" for a section line that one lacks.
  std::u16string first;
  std::u16string second;
};

struct Conflict {
  std::u16string line;  // "Tag 'Level' has different definitions", ...
  ConflictDetail detail;
};

using ConflictList = std::vector<Conflict>;

}  // namespace junctra
