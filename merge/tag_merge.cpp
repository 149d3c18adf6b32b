#include "merge/tag_merge.h"

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

bool MergeTagLists(CTagList& first, CTagList&& second, std::vector<std::u16string>& errors,
                   const ResourceModule& strings, const std::vector<std::size_t>& class_positions,
                   std::vector<ConflictDetail>* details,
                   const std::vector<std::u16string_view>& class_names) {
  bool result = true;
  // Folded name -> first entry met in the first map's iteration order.
  struct NameOf {
    std::u16string_view operator()(const TagMap::Entry* entry) const { return entry->name; }
  };
  FoldedNameIndex<const TagMap::Entry*, NameOf> first_names;
  first_names.Reserve(first.m_tags.GetCount());
  first.m_tags.ForEach([&](const TagMap::Entry& entry) { first_names.AddIfAbsent(&entry); });

  std::vector<const TagMap::Entry*> to_add;
  second.m_tags.ForEach([&](const TagMap::Entry& entry) {
    const TagMap::Entry* const* match = first_names.Find(entry.name);
    if (match == nullptr) {
      to_add.push_back(&entry);
      return;
    }
    const std::int32_t code = MergedTypeCode(entry.item.m_type, class_positions);
    if (entry.item.IsDifferent((*match)->item, code)) {
      result = false;
      errors.push_back(FormatMessage(strings.LoadString(IDS_TAG_CONFLICT), entry.name));
      if (details != nullptr) {
        details->push_back(
            DescribeTagDifference((*match)->item, entry.item, code, class_names, strings));
      }
    }
  });

  if (result) {
    for (const TagMap::Entry* entry : to_add) {
      CDatabaseItem item = entry->item;
      item.m_type = MergedTypeCode(item.m_type, class_positions);
      first.m_tags.SetAt(entry->name, item);
    }
    // The tags taken point into the second list's text.
    first.m_texts.Adopt(std::move(second.m_texts));
  }
  return result;
}

}  // namespace junctra
