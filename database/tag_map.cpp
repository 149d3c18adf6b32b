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
  if (auto found = index_.find(name); found != index_.end()) {
    found->second->item = std::move(item);
    return found->second->item;
  }
  Entry& entry = entries_.emplace_back(Entry{std::u16string(name), std::move(item)});
  buckets_[HashKey(entry.name) % kBucketCount].push_back(&entry);
  index_.emplace(entry.name, &entry);
  return entry.item;
}

CDatabaseItem* TagMap::Lookup(std::u16string_view name) {
  auto found = index_.find(name);
  return found == index_.end() ? nullptr : &found->second->item;
}

const CDatabaseItem* TagMap::Lookup(std::u16string_view name) const {
  auto found = index_.find(name);
  return found == index_.end() ? nullptr : &found->second->item;
}

std::vector<const TagMap::Entry*> TagMap::InIterationOrder() const {
  std::vector<const Entry*> order;
  order.reserve(entries_.size());
  ForEach([&order](const Entry& entry) { order.push_back(&entry); });
  return order;
}

}  // namespace junctra
