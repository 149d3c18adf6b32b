// A conflict that stops a merge: the line the error list shows and where the
// definitions differ. The checks fill a ConflictList in the order they find
// them; the merge command hands it to whoever runs it, who may decide each
// conflict for one side and merge again with those decisions.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace junctra {

// The database a conflict is decided for.
enum class Side { kFirst, kSecond };

// What differs between two definitions that a check found different: the
// first part, in file order, where they differ, with both versions of it.
// An empty part: no detail (a line about a class code).
struct ConflictDetail {
  std::u16string part;  // "Alarm line 2", "Type", ...
  // That part in each database: a number, a text in quotes as ShownText
  // shows it, "(none)" for a section line that one lacks, or "(deleted)"
  // for a definition that one side deleted.
  std::u16string first;
  std::u16string second;
  // The part in the common ancestor; empty in a two-way merge.
  std::u16string base;
};

struct Conflict {
  std::u16string line;  // "Tag 'Level' has different definitions", ...
  ConflictDetail detail;
  // What a decision for this conflict names: a class (else a tag) by its
  // name, spelt as in FIRST (as in SECOND when FIRST lacks it). An empty
  // name: the conflict cannot be decided (a class code that names no class).
  bool is_class = false;
  std::u16string name;

  bool decidable() const { return !name.empty(); }
};

using ConflictList = std::vector<Conflict>;

// One conflict decided: the class or tag of that name (A to Z case
// ignored) takes side's definition, or its deletion.
struct Decision {
  bool is_class = false;
  std::u16string name;
  Side side = Side::kFirst;
};

// How the conflicts of a merge are decided: each one named in each, every
// other decidable one for all when given (--take), the rest not at all.
struct Decisions {
  std::optional<Side> all;
  std::vector<Decision> each;

  bool empty() const { return !all && each.empty(); }
};

}  // namespace junctra
