#include "database/tag_map.h"

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
        Entry& created = entries_.emplace_back(Entry{name, item});
        buckets_[HashKey(created.name) % kBucketCount].push_back(&created);
        return &created;
      },
      &added);
  if (!added) entry->item = item;
  return entry->item;
}

std::vector<const TagMap::Entry*> TagMap::InIterationOrder() const {
  std::vector<const Entry*> order;
  order.reserve(entries_.size());
  for (const auto& chain : buckets_) order.insert(order.end(), chain.rbegin(), chain.rend());
  return order;
}

}  // namespace junctra
