// Names matched with A to Z taken as a to z: an index from the folded name to
// the first value added under it, so that "first namesake" lookups cost one
// hash probe instead of a walk over the other list.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/text.h"

namespace junctra {

template <class Value>
class FoldedNameIndex {
 public:
  void Reserve(std::size_t count) { index_.reserve(count); }

  // Keeps the earlier value when the folded name is already present.
  void AddIfAbsent(std::u16string_view name, Value value) {
    index_.try_emplace(Fold(name), std::move(value));
  }

  const Value* Find(std::u16string_view name) const {
    auto found = index_.find(Fold(name));
    return found == index_.end() ? nullptr : &found->second;
  }

 private:
  static std::u16string Fold(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) c = FoldAsciiCase(c);
    return folded;
  }

  std::unordered_map<std::u16string, Value> index_;
};

}  // namespace junctra
