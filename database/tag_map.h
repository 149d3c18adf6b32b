// The tag map: tag records by exact name, iterated in a fixed order that
// decides the order of tags in a written file. 17 buckets that never grow; a
// new name goes to the front of its bucket's chain; iteration runs bucket 0
// to 16, each chain front to back (newest first). A hash index beside the
// chains keeps lookups by exact name from walking a chain. Names, like the
// records' texts, are views into text that the owning list keeps.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "database/database_item.h"
#include "database/name_index.h"

namespace junctra {

class TagMap {
 public:
  static constexpr std::uint32_t kBucketCount = 17;

  struct Entry {
    std::u16string_view name;
    CDatabaseItem item;
  };

  TagMap() = default;
  TagMap(const TagMap&) = delete;
  TagMap& operator=(const TagMap&) = delete;

  // The bucket hash: FNV-style over every stride-th code unit.
  static std::uint32_t HashKey(std::u16string_view name);

  // Stores item under name, which must stay valid as long as the map. A new
  // name goes to the front of its bucket's chain; an existing one keeps its
  // place and takes the new record.
  CDatabaseItem& SetAt(std::u16string_view name, CDatabaseItem item);

  // Starts fetching the memory that SetAt of name will look at.
  void Prefetch(std::u16string_view name) const { index_.Prefetch(name); }

  // Makes room in the name index for count names.
  void Reserve(std::size_t count) { index_.Reserve(count); }

  std::size_t GetCount() const { return entries_.size(); }
  bool IsEmpty() const { return entries_.empty(); }

  // Visits every entry in iteration order. The order jumps all over the
  // entries and the text, so the memory of those a few steps ahead is
  // fetched early.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    const std::vector<const Entry*> order = InIterationOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
      if (i + 4 < order.size()) Prefetch(order[i + 4]);
      if (i + 2 < order.size()) PrefetchText(*order[i + 2]);
      visit(*order[i]);
    }
  }

  // Entries in iteration order.
  std::vector<const Entry*> InIterationOrder() const;

 private:
  static void Prefetch(const void* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p);
#endif
  }
  // The text that an entry points to.
  static void PrefetchText(const Entry& entry) {
    Prefetch(entry.name.data());
    Prefetch(entry.item.m_rest.data());
    Prefetch(entry.item.m_parameterLines.text().data());
    Prefetch(entry.item.m_alarmLines.text().data());
    Prefetch(entry.item.m_historyLines.text().data());
  }

  struct ViewHash {
    std::size_t operator()(std::u16string_view s) const {
      return std::hash<std::u16string_view>()(s);
    }
  };
  struct ViewEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const { return a == b; }
  };
  struct NameOf {
    std::u16string_view operator()(const Entry* entry) const { return entry->name; }
  };

  std::deque<Entry> entries_;  // stable addresses
  // Each chain in insertion order; its front is the back of the vector.
  std::array<std::vector<Entry*>, kBucketCount> buckets_;
  NameIndex<Entry*, ViewHash, ViewEqual, NameOf> index_;
};

}  // namespace junctra
