// The merge against a common ancestor: for each class and tag name, a
// definition that one side changed or deleted since the base wins over the
// other side's unchanged one; changes on both sides conflict unless a
// decision settles them. Without a base every name is new to it, and the
// merge is the two-way one with its conflicts decided.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "merge/conflict.h"
#include "platform/env.h"

namespace junctra {

class ResourceModule;

// What one name's three versions give, as the rule table says.
enum class Outcome {
  kFirst,           // FIRST's definition (or the one both have)
  kSecond,          // SECOND's definition
  kDeleted,         // neither: one side deleted it, the other left it
  kConflict,        // both changed it, or both added it differently
  kChangedDeleted,  // changed in FIRST, deleted in SECOND
  kDeletedChanged,  // deleted in FIRST, changed in SECOND
};

struct Resolution {
  Outcome outcome = Outcome::kFirst;
  bool changed = false;  // a change of one side since the base was taken
};

// The rule for one name: f, s and b are its definitions in FIRST, SECOND
// and the base, null where absent (not both f and s); equal(x, y) tells
// two present ones apart.
template <class T, class Equal>
Resolution Resolve(const T* f, const T* s, const T* b, Equal&& equal) {
  if (f != nullptr && s != nullptr) {
    if (equal(*f, *s)) return {Outcome::kFirst};
    if (b == nullptr) return {Outcome::kConflict};
    if (equal(*b, *f)) return {Outcome::kSecond, true};
    if (equal(*b, *s)) return {Outcome::kFirst, true};
    return {Outcome::kConflict};
  }
  const T* present = f != nullptr ? f : s;
  const Outcome kept = f != nullptr ? Outcome::kFirst : Outcome::kSecond;
  if (b == nullptr) return {kept};
  if (equal(*present, *b)) return {Outcome::kDeleted};
  return {f != nullptr ? Outcome::kChangedDeleted : Outcome::kDeletedChanged};
}

// What the merge did beyond the union.
struct MergeCounts {
  std::size_t classes_from_second = 0;  // SECOND's definitions in the result
  std::size_t tags_from_second = 0;
  std::size_t changed = 0;  // taken or kept as one side changed them
  std::size_t deleted = 0;  // left out as one side deleted them
  std::size_t decided = 0;  // conflicts settled by decisions
};

class ThreeWayMerge {
 public:
  // strings is borrowed for the merge's lifetime; the tags' lookups are
  // shared among the threads env->RunTasks gives.
  ThreeWayMerge(const Decisions& decisions, const ResourceModule& strings,
                Env* env = Env::Default());
  ThreeWayMerge(const ThreeWayMerge&) = delete;
  ThreeWayMerge& operator=(const ThreeWayMerge&) = delete;

  // Merges the class lists, which it keeps; base is empty without a base.
  // False when conflicts are left: they are appended to conflicts.
  bool MergeClasses(CClassList first, CClassList second, CClassList base, ConflictList& conflicts);
  // Then the tag lists; the result takes over FIRST's and SECOND's text. Renumbers every class code
  // of the result and leaves out deleted classes that no tag of the result names. False when
  // conflicts are left, among them tags whose class code names no class of their own database but
  // would name one of the result.
  bool MergeTags(CTagList first, CTagList second, CTagList base, ConflictList& conflicts);

  // After both succeeded: the result; its classes point into the kept
  // class lists' text.
  const CClassList& classes() const { return result_classes_; }
  const CTagList& tags() const { return result_tags_; }
  const MergeCounts& counts() const { return counts_; }

 private:
  // A class of the result before deletions are settled: FIRST's positions,
  // then the classes that only SECOND has.
  struct ClassSlot {
    std::u16string_view name;  // as the result spells it
    const CClassInfo* info = nullptr;
    bool deleted = false;  // kept only when a tag of the result names it
    bool named = false;
  };

  // The outcome that decisions give a conflict of resolution, if any;
  // otherwise appends the conflict, its detail made by describe(), and
  // returns the outcome unchanged. Other outcomes pass through.
  template <class Describe>
  Outcome Decide(Resolution resolution, bool is_class, std::u16string_view name,
                 Describe&& describe, ConflictList& conflicts);

  const ResourceModule& strings_;
  Env* env_;
  // Decisions by name, A to Z folded, for tags [0] and for classes [1].
  std::unordered_map<std::u16string, junctra::Side> decided_[2];
  std::optional<junctra::Side> decide_all_;
  CClassList first_classes_, second_classes_, base_classes_;
  std::vector<ClassSlot> slots_;
  // For each class position of SECOND, its slot; of every list, the key
  // that tells classes apart by name (the slot of its first namesake).
  std::vector<std::size_t> second_slots_;
  std::vector<std::int64_t> first_keys_, second_keys_, base_keys_;
  CClassList result_classes_;
  CTagList result_tags_;
  MergeCounts counts_;
};

}  // namespace junctra
