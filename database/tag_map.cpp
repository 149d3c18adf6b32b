#include "database/tag_map.h"

#include <algorithm>

namespace junctra {

std::uint32_t TagMap::HashKey(std::u16string_view name) {
  std::uint32_t h = 2166136261u;
  const std::size_t n = name.size();
  const std::size_t stride = 1 + n / 10;
  for (std::size_t i = 0; i < n; i += stride) h = (16777619u * h) ^ name[i];
  return h;
}

CDatabaseItem& TagMap::SetAt(std::u16string_view name, CDatabaseItem item) {
  bool added = false;
  Entry* entry = index_.FindOrAdd(
      name,
      [&] {
        Entry& created = NewEntry(name, item);
        buckets_[HashKey(created.name) % kBucketCount].push_back(&created);
        return &created;
      },
      &added);
  if (!added) entry->item = item;
  return entry->item;
}

TagMap::Entry& TagMap::NewEntry(std::u16string_view name, const CDatabaseItem& item) {
  if (last_block_used_ == last_block_size_) {
    last_block_size_ = blocks_.empty() ? 16 : std::min(2 * last_block_size_, kLargestBlock);
    blocks_.push_back(std::make_unique<Entry[]>(last_block_size_));
    last_block_used_ = 0;
  }
  Entry& entry = blocks_.back()[last_block_used_++];
  entry = Entry{name, item};
  ++count_;
  return entry;
}

std::vector<const TagMap::Entry*> TagMap::InIterationOrder() const {
  std::vector<const Entry*> order;
  order.reserve(count_);
  for (const auto& chain : buckets_) order.insert(order.end(), chain.rbegin(), chain.rend());
  return order;
}

}  // namespace junctra
