// An open-addressing hash index of small values (pointers) by name, where
// KeyOf gives a value's name, kept alive elsewhere. One flat array of
// 16-byte slots, so a lookup costs about one cache miss instead of a walk
// through list nodes; the tag map and the merge's case-folded lookups both
// use it. Callers that look up many names can hash them first and fetch
// each slot from memory a few lookups before its own (PrefetchSlot), so
// that the misses overlap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "database/prefetch.h"

namespace junctra {

template <class Value, class Hash, class Equal, class KeyOf>
class NameIndex {
 public:
  static std::uint32_t HashOf(std::u16string_view name) {
    return static_cast<std::uint32_t>(Hash()(name));
  }

  void Reserve(std::size_t count) {
    if (Fits(count, slots_.size())) return;
    std::size_t capacity = 16;
    while (!Fits(count, capacity)) capacity *= 2;
    Rehash(capacity);
  }

  // Starts fetching the slot where a lookup of a name with hash begins.
  void PrefetchSlot(std::uint32_t hash) const {
    if (!slots_.empty()) Prefetch(&slots_[hash & mask()]);
  }

  const Value* Find(std::u16string_view name) const { return Find(name, HashOf(name)); }
  // hash is HashOf(name).
  const Value* Find(std::u16string_view name, std::uint32_t hash) const {
    if (slots_.empty()) return nullptr;
    for (std::size_t i = hash & mask(); slots_[i].used; i = (i + 1) & mask()) {
      if (slots_[i].hash == hash && Equal()(KeyOf()(slots_[i].value), name))
        return &slots_[i].value;
    }
    return nullptr;
  }

  // The value under name. When there is none, make() is called and must
  // return the value to store, whose name (by KeyOf) stays valid for the
  // index's lifetime. *added tells which happened.
  template <class Make>
  Value& FindOrAdd(std::u16string_view name, Make&& make, bool* added) {
    return FindOrAdd(name, HashOf(name), make, added);
  }
  template <class Make>
  Value& FindOrAdd(std::u16string_view name, std::uint32_t hash, Make&& make, bool* added) {
    if (!Fits(count_ + 1, slots_.size())) Rehash(slots_.empty() ? 16 : slots_.size() * 2);
    std::size_t i = hash & mask();
    for (; slots_[i].used; i = (i + 1) & mask()) {
      if (slots_[i].hash == hash && Equal()(KeyOf()(slots_[i].value), name)) {
        *added = false;
        return slots_[i].value;
      }
    }
    slots_[i] = Slot{make(), hash, true};
    ++count_;
    *added = true;
    return slots_[i].value;
  }

 private:
  struct Slot {
    Value value{};
    std::uint32_t hash = 0;
    bool used = false;
  };

  // At most 70% of the slots used, so probe runs stay short.
  static bool Fits(std::size_t count, std::size_t capacity) { return count * 10 <= capacity * 7; }
  std::size_t mask() const { return slots_.size() - 1; }

  void Rehash(std::size_t capacity) {
    std::vector<Slot> old(capacity);
    old.swap(slots_);
    for (Slot& slot : old) {
      if (!slot.used) continue;
      std::size_t i = slot.hash & mask();
      while (slots_[i].used) i = (i + 1) & mask();
      slots_[i] = std::move(slot);
    }
  }

  std::vector<Slot> slots_;  // size 0 or a power of two
  std::size_t count_ = 0;
};

}  // namespace junctra
