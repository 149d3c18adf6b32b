// The tag map: tag records by exact name, iterated in a fixed order that
// decides the order of tags in a written file. 17 buckets that never grow; a
// new name goes to the front of its bucket's chain; iteration runs bucket 0
// to 16, each chain front to back (newest first). A hash index beside the
// chains keeps lookups by exact name from walking a chain. Names, like the
// records' texts, are views into text that the owning list keeps.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "database/database_item.h"
#include "database/name_hash.h"
#include "database/name_index.h"
#include "database/prefetch.h"

namespace junctra {

class TagMap {
 public:
  static constexpr std::uint32_t kBucketCount = 17;

  struct Entry {
    std::u16string_view name;
    CDatabaseItem item;
    std::uint32_t hash = 0;  // HashOf(name), kept for the merge's lookups
  };

  TagMap() = default;
  TagMap(const TagMap&) = delete;
  TagMap& operator=(const TagMap&) = delete;
  // The entries stay where they are: pointers to them stay valid.
  TagMap(TagMap&&) = default;
  TagMap& operator=(TagMap&&) = default;

  // The bucket hash: FNV-style over every stride-th code unit.
  static std::uint32_t HashKey(std::u16string_view name);
  // The index's hash of a name, the same for names that differ only in the
  // case of A to Z.
  static std::uint32_t HashOf(std::u16string_view name) { return FoldedNameHash(name); }

  // Stores item under name, which must stay valid as long as the map. A new
  // name goes to the front of its bucket's chain; an existing one keeps its
  // place and takes the new record. hash is HashOf(name).
  CDatabaseItem& SetAt(std::u16string_view name, CDatabaseItem item) {
    return SetAt(name, item, HashOf(name));
  }
  CDatabaseItem& SetAt(std::u16string_view name, CDatabaseItem item, std::uint32_t hash);

  // Starts fetching the memory that SetAt of a name with hash will look at.
  void PrefetchLookup(std::uint32_t hash) const { index_.PrefetchSlot(hash); }
  // Starts fetching the text an entry points to. A loaded tag's text is
  // one stretch, from its name in the tag line to the end of its History
  // section; the first kilobytes of it are fetched a cache line at a time.
  static void PrefetchText(const Entry& entry) {
    constexpr std::uintptr_t kLine = 64, kMost = 4096;
    const std::u16string_view history = entry.item.m_historyLines.text();
    const auto from = reinterpret_cast<std::uintptr_t>(entry.name.data());
    const auto to = reinterpret_cast<std::uintptr_t>(history.data() + history.size());
    if (from == 0) return;
    const std::uintptr_t span = to > from ? std::min(to - from, kMost) : 0;
    for (std::uintptr_t at = 0; at <= span; at += kLine) {
      // NOLINTNEXTLINE(performance-no-int-to-ptr): the span crosses allocations
      Prefetch(reinterpret_cast<const void*>(from + at));
    }
  }

  // Makes room in the name index for count names.
  void Reserve(std::size_t count) { index_.Reserve(count); }

  std::size_t GetCount() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }

  // Visits every entry in iteration order. The order jumps all over the
  // entries and the text, so the memory of those a few steps ahead is
  // fetched early.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    const std::vector<const Entry*> order = InIterationOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
      FetchAhead(order, i, 3);
      visit(*order[i]);
    }
  }
  // SetAt for the name of each of entries, in order, with the record that
  // make(entry) returns; the index slots are fetched a few names ahead.
  template <class Make>
  void SetAll(const std::vector<const Entry*>& entries, Make&& make) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      Prefetch(entries[Ahead(i, 8, entries.size())]);
      PrefetchLookup(entries[Ahead(i, 4, entries.size())]->hash);
      SetAt(entries[i]->name, make(*entries[i]), entries[i]->hash);
    }
  }

  // Takes over the entries of other, which is left empty: those listed, in
  // order, join this map as SetAt of each would add them, once fix has
  // changed their records; the rest only stay in memory. Nothing is copied.
  template <class Fix>
  void TakeOver(TagMap&& other, const std::vector<const Entry*>& entries, Fix&& fix) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      Prefetch(entries[Ahead(i, 8, entries.size())]);
      PrefetchLookup(entries[Ahead(i, 4, entries.size())]->hash);
      // Its block is other's, which this map now owns.
      auto* entry =
          const_cast<Entry*>(entries[i]);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
      fix(entry->item);
      Insert(entry);
    }
    AdoptBlocks(std::move(other));
  }

  // Entries in iteration order.
  std::vector<const Entry*> InIterationOrder() const;

  // Starts fetching the entry 2 * step after i and the text of the one step
  // after it (the last one near the end); null entries are passed over.
  static void FetchAhead(std::span<const Entry* const> entries, std::size_t i, std::size_t step) {
    if (const Entry* far = entries[Ahead(i, 2 * step, entries.size())]) Prefetch(far);
    if (const Entry* near = entries[Ahead(i, step, entries.size())]) PrefetchText(*near);
  }

  // The hash of each entry's name, the entries fetched ahead.
  static std::vector<std::uint32_t> HashesOf(std::span<const Entry* const> entries) {
    std::vector<std::uint32_t> hashes(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      Prefetch(entries[Ahead(i, 8, entries.size())]);
      hashes[i] = entries[i]->hash;
    }
    return hashes;
  }

  // Characters in an entry's name and texts.
  static std::size_t TextLength(const Entry& entry) {
    const CDatabaseItem& item = entry.item;
    return entry.name.size() + item.m_rest.size() + item.m_parameterLines.text().size() +
           item.m_alarmLines.text().size() + item.m_historyLines.text().size();
  }

 private:
  struct ViewHash {
    std::size_t operator()(std::u16string_view s) const { return FoldedNameHash(s); }
  };
  struct ViewEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const { return a == b; }
  };
  struct NameOf {
    std::u16string_view operator()(const Entry* entry) const { return entry->name; }
  };

  Entry& NewEntry(std::u16string_view name, const CDatabaseItem& item, std::uint32_t hash);
  // Adds entry, which lies in a block this map owns or will own, under its
  // name; an entry already there takes its record.
  void Insert(Entry* entry);
  void AdoptBlocks(TagMap&& other);

  struct FreeBlock {
    void operator()(Entry* block) const { std::free(block); }
  };
  // Entries in blocks that never move, since the chains and the index point
  // to them. Blocks double up to kLargestBlock entries, in two megabytes,
  // which come as one large page (AllocateLargeBlock): one allocation and
  // one page fault per twenty thousand entries.
  static constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;
  static constexpr std::size_t kLargestBlock = kLargeBlockBytes / sizeof(Entry);
  std::vector<std::unique_ptr<Entry, FreeBlock>> blocks_;
  std::size_t last_block_size_ = 0;
  std::size_t last_block_used_ = 0;
  std::size_t count_ = 0;
  // Each chain in insertion order; its front is the back of the vector.
  std::array<std::vector<Entry*>, kBucketCount> buckets_;
  using Index = NameIndex<Entry*, ViewHash, ViewEqual, NameOf>;
  Index index_;
};

}  // namespace junctra
