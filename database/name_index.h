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
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>

#include "database/prefetch.h"
#include "platform/env.h"

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

  struct FreeSlots {
    void operator()(Slot* slots) const { std::free(slots); }
  };
  // Slots of a large index come as large pages (AllocateLargeBlock).
  class Slots {
   public:
    Slots() = default;
    explicit Slots(std::size_t size)
        : slots_(static_cast<Slot*>(AllocateLargeBlock(size * sizeof(Slot)))), size_(size) {
      if (slots_ == nullptr) throw std::bad_alloc();
      std::uninitialized_fill_n(slots_.get(), size, Slot{});
    }
    Slots(Slots&& other) noexcept
        : slots_(std::move(other.slots_)), size_(std::exchange(other.size_, 0)) {}
    Slots& operator=(Slots&& other) noexcept {
      slots_ = std::move(other.slots_);
      size_ = std::exchange(other.size_, 0);
      return *this;
    }
    Slot& operator[](std::size_t i) { return slots_.get()[i]; }
    const Slot& operator[](std::size_t i) const { return slots_.get()[i]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

   private:
    std::unique_ptr<Slot, FreeSlots> slots_;
    std::size_t size_ = 0;
  };
  static_assert(std::is_trivially_destructible_v<Slot>, "slots are freed, not destroyed");

  void Rehash(std::size_t capacity) {
    Slots old(capacity);
    std::swap(old, slots_);
    for (std::size_t k = 0; k < old.size(); ++k) {
      Slot& slot = old[k];
      if (!slot.used) continue;
      std::size_t i = slot.hash & mask();
      while (slots_[i].used) i = (i + 1) & mask();
      slots_[i] = std::move(slot);
    }
  }

  Slots slots_;  // size 0 or a power of two
  std::size_t count_ = 0;
};

}  // namespace junctra
