#include "merge/tag_merge.h"

#include "database/tag_list.h"
#include "merge/conflict_detail.h"
#include "merge/folded_name_index.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {

namespace {

// The type code a tag of the second database has in the merged one.
std::int32_t MergedTypeCode(std::int32_t code, const std::vector<std::size_t>& class_positions) {
  if (code < 4) return code;
  const auto position = static_cast<std::size_t>(code) - 4;
  if (position >= class_positions.size()) return code;
  return static_cast<std::int32_t>(4 + class_positions[position]);
}

}  // namespace

bool MergeTagLists(CTagList& first, CTagList&& second, ConflictList& conflicts,
                   const ResourceModule& strings, const std::vector<std::size_t>& class_positions,
                   const std::vector<std::u16string_view>& class_names) {
  // Folded name -> first entry met in the first map's iteration order.
  struct NameOf {
    std::u16string_view operator()(const TagMap::Entry* entry) const { return entry->name; }
  };
  FoldedNameIndex<const TagMap::Entry*, NameOf> first_names;
  first_names.Reserve(first.m_tags.GetCount());
  first_names.AddAllIfAbsent(first.m_tags.InIterationOrder());

  const std::vector<const TagMap::Entry*> seconds = second.m_tags.InIterationOrder();
  bool result = true;
  std::vector<const TagMap::Entry*> to_add;
  // Each tag of the second list against its first namesake, if any.
  auto check = [&](const TagMap::Entry& entry, const TagMap::Entry* first_match) {
    if (first_match == nullptr) {
      to_add.push_back(&entry);
      return;
    }
    const CDatabaseItem& match = first_match->item;
    const std::int32_t code = MergedTypeCode(entry.item.m_type, class_positions);
    if (entry.item.IsDifferent(match, code)) {
      result = false;
      conflicts.push_back({FormatMessage(strings.LoadString(IDS_TAG_CONFLICT), entry.name),
                           DescribeTagDifference(match, entry.item, code, class_names, strings),
                           false, std::u16string(first_match->name)});
    }
  };
  TagMap::ForEachPair(seconds, first_names.FindAll(seconds), check);

  if (result) {
    first.m_tags.SetAll(to_add, [&](const TagMap::Entry& entry) {
      CDatabaseItem item = entry.item;
      item.m_type = MergedTypeCode(item.m_type, class_positions);
      return item;
    });
    // The tags taken point into the second list's text.
    first.m_texts.Adopt(std::move(second.m_texts));
  }
  return result;
}

}  // namespace junctra
