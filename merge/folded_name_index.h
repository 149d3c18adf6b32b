// Names matched with A to Z taken as a to z: an index from the folded name to
// the first value added under it, so that "first namesake" lookups cost one
// hash probe instead of a walk over the other list. Values are pointers to
// things that the caller keeps alive, and KeyOf gives their names; nothing
// is copied.
#pragma once

#include <string_view>

#include "database/name_index.h"
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

 private:
  struct FoldedHash {
    std::size_t operator()(std::u16string_view name) const {
      std::size_t h = 14695981039346656037ull;
      for (char16_t c : name) h = (h ^ FoldAsciiCase(c)) * 1099511628211ull;
      return h;
    }
  };
  struct FoldedEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const {
      return EqualsIgnoringAsciiCase(a, b);
    }
  };

  NameIndex<Value, FoldedHash, FoldedEqual, KeyOf> index_;
};

}  // namespace junctra
