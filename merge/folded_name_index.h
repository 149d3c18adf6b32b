// Names matched with A to Z taken as a to z: an index from the folded name to
// the first value added under it, so that "first namesake" lookups cost one
// hash probe instead of a walk over the other list. Values are pointers to
// things that the caller keeps alive, and KeyOf gives their names; nothing
// is copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "database/name_hash.h"
#include "database/name_index.h"
#include "database/prefetch.h"
#include "platform/text.h"

namespace junctra {

template <class Value, class KeyOf>
class FoldedNameIndex {
 public:
  void Reserve(std::size_t count) { index_.Reserve(count); }

  // Keeps the earlier value when the folded name is already present.
  void AddIfAbsent(Value value) {
    bool added = false;
    index_.FindOrAdd(
        KeyOf()(value), [&] { return value; }, &added);
  }

  const Value* Find(std::u16string_view name) const { return index_.Find(name); }

  // Many values at once, in order; a lookup of one waits for memory far
  // longer than it computes. All names are hashed first, and each slot is
  // fetched a few lookups before its own, so that the waits overlap.
  // AddIfAbsent for each of values; with added, which of them were added
  // (the first of their folded name).
  void AddAllIfAbsent(const std::vector<Value>& values, std::vector<bool>* added = nullptr) {
    AddAllIfAbsent(values, Hashes(values), added);
  }
  // The same with hashes from Hashes(values), or kept from before.
  void AddAllIfAbsent(const std::vector<Value>& values, const std::vector<std::uint32_t>& hashes,
                      std::vector<bool>* added = nullptr) {
    if (added != nullptr) added->assign(values.size(), false);
    for (std::size_t i = 0; i < values.size(); ++i) {
      index_.PrefetchSlot(hashes[Ahead(i, kAhead, values.size())]);
      bool was_added = false;
      index_.FindOrAdd(
          KeyOf()(values[i]), hashes[i], [&] { return values[i]; }, &was_added);
      if (added != nullptr && was_added) (*added)[i] = true;
    }
  }
  // For the name of each of values, the value found under it; Value() (a
  // null pointer) where there is none.
  std::vector<Value> FindAll(const std::vector<Value>& values) const {
    std::vector<Value> found(values.size());
    FindAll(values, Hashes(values), found);
    return found;
  }
  // The same into found, with hashes from Hashes(values) or kept from
  // before; part of the
  // values may be looked up on each of several threads.
  void FindAll(std::span<const Value> values, std::span<const std::uint32_t> hashes,
               std::span<Value> found) const {
    for (std::size_t i = 0; i < values.size(); ++i) {
      index_.PrefetchSlot(hashes[Ahead(i, kAhead, values.size())]);
      const Value* value = index_.Find(KeyOf()(values[i]), hashes[i]);
      found[i] = value != nullptr ? *value : Value();
    }
  }

  // The hash of each value's name. The values are pointers: each, and then
  // its name, is fetched ahead too.
  static std::vector<std::uint32_t> Hashes(std::span<const Value> values) {
    std::vector<std::uint32_t> hashes(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      Prefetch(values[Ahead(i, 2 * kAhead, values.size())]);
      Prefetch(KeyOf()(values[Ahead(i, kAhead, values.size())]).data());
      hashes[i] = Index::HashOf(KeyOf()(values[i]));
    }
    return hashes;
  }

 private:
  static constexpr std::size_t kAhead = 8;

  struct FoldedHash {
    std::size_t operator()(std::u16string_view name) const { return FoldedNameHash(name); }
  };
  struct FoldedEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const {
      return EqualsIgnoringAsciiCase(a, b);
    }
  };

  using Index = NameIndex<Value, FoldedHash, FoldedEqual, KeyOf>;
  Index index_;
};

}  // namespace junctra
