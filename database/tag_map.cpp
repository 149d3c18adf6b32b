#include "database/tag_map.h"

#include <algorithm>
#include <memory>
#include <new>
#include <type_traits>

#include "platform/env.h"

namespace junctra {

std::uint32_t TagMap::HashKey(std::u16string_view name) {
  std::uint32_t h = 2166136261u;
  const std::size_t n = name.size();
  const std::size_t stride = 1 + n / 10;
  for (std::size_t i = 0; i < n; i += stride) h = (16777619u * h) ^ name[i];
  return h;
}

CDatabaseItem& TagMap::SetAt(std::u16string_view name, CDatabaseItem item, std::uint32_t hash) {
  bool added = false;
  Entry* entry = index_.FindOrAdd(
      name, hash,
      [&] {
        Entry& created = NewEntry(name, item, hash);
        buckets_[HashKey(created.name) % kBucketCount].push_back(&created);
        return &created;
      },
      &added);
  if (!added) entry->item = item;
  return entry->item;
}

void TagMap::Insert(Entry* entry) {
  bool added = false;
  Entry* held = index_.FindOrAdd(
      entry->name, entry->hash,
      [&] {
        buckets_[HashKey(entry->name) % kBucketCount].push_back(entry);
        return entry;
      },
      &added);
  if (added) {
    ++count_;
  } else {
    held->item = entry->item;
  }
}

void TagMap::AdoptBlocks(TagMap&& other) {
  // The last block stays last: new entries go on filling it.
  const auto at = blocks_.empty() ? blocks_.end() : blocks_.end() - 1;
  blocks_.insert(at, std::make_move_iterator(other.blocks_.begin()),
                 std::make_move_iterator(other.blocks_.end()));
  other = TagMap();
}

TagMap::Entry& TagMap::NewEntry(std::u16string_view name, const CDatabaseItem& item,
                                std::uint32_t hash) {
  static_assert(std::is_trivially_destructible_v<Entry>, "blocks are freed, not destroyed");
  if (last_block_used_ == last_block_size_) {
    const std::size_t size = blocks_.empty() ? 16 : std::min(2 * last_block_size_, kLargestBlock);
    void* memory =
        AllocateLargeBlock(size == kLargestBlock ? kLargeBlockBytes : size * sizeof(Entry));
    if (memory == nullptr) throw std::bad_alloc();
    blocks_.emplace_back(static_cast<Entry*>(memory));
    last_block_size_ = size;
    last_block_used_ = 0;
  }
  Entry* entry =
      std::construct_at(blocks_.back().get() + last_block_used_++, Entry{name, item, hash});
  ++count_;
  return *entry;
}

std::vector<const TagMap::Entry*> TagMap::InIterationOrder() const {
  std::vector<const Entry*> order;
  order.reserve(count_);
  for (const auto& chain : buckets_) order.insert(order.end(), chain.rbegin(), chain.rend());
  return order;
}

}  // namespace junctra
