// A tag's record by exact name, for tests: the program itself never looks a
// tag up by name.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "database/tag_list.h"

namespace junctra {

// Null when list holds no tag of that name.
inline const CDatabaseItem* FindTag(const CTagList& list, std::u16string_view name) {
  const CDatabaseItem* found = nullptr;
  list.m_tags.ForEach([&](const TagMap::Entry& entry) {
    if (found == nullptr && entry.name == name) found = &entry.item;
  });
  return found;
}

// Every tag's record by exact name, for many look-ups in one list.
inline std::map<std::u16string, const CDatabaseItem*, std::less<>> TagsByName(
    const CTagList& list) {
  std::map<std::u16string, const CDatabaseItem*, std::less<>> tags;
  list.m_tags.ForEach(
      [&](const TagMap::Entry& entry) { tags.emplace(std::u16string(entry.name), &entry.item); });
  return tags;
}

}  // namespace junctra
