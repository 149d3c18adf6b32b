#include "merge/tag_merge.h"

#include "merge/class_merge.h"
#include "merge/folded_name_index.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {

namespace {

// The definition test, with a's type code given apart from a.
bool Differ(const CDatabaseItem& a, std::int32_t a_type, const CDatabaseItem& b) {
  return a.m_number != b.m_number || a_type != b.m_type ||
         !EqualsIgnoringAsciiCase(a.m_rest, b.m_rest) ||
         CompareStringArrays(a.m_alarmLines, b.m_alarmLines) ||
         CompareStringArrays(a.m_historyLines, b.m_historyLines) ||
         CompareStringArrays(a.m_parameterLines, b.m_parameterLines);
}

}  // namespace

bool CDatabaseItem::IsDifferent(const CDatabaseItem& other) const {
  return Differ(*this, m_type, other);
}

void CDatabaseItem::CopyFrom(const CDatabaseItem& other) {
  m_number = other.m_number;
  m_type = other.m_type;
  m_rest = other.m_rest;
  CopyStringArray(m_alarmLines, other.m_alarmLines);
  CopyStringArray(m_historyLines, other.m_historyLines);
  CopyStringArray(m_parameterLines, other.m_parameterLines);
}

namespace {

// The type code a tag of the second database has in the merged one.
std::int32_t MergedTypeCode(std::int32_t code, const std::vector<std::size_t>* class_positions) {
  if (class_positions == nullptr || code < 4) return code;
  const auto position = static_cast<std::size_t>(code) - 4;
  if (position >= class_positions->size()) return code;
  return static_cast<std::int32_t>(4 + (*class_positions)[position]);
}

// Both forms of MergeTagLists; take(entry) gives the record that a tag of
// the second list adds to the first.
template <class Take>
bool Merge(CTagList& first, const CTagList& second, std::vector<std::u16string>& errors,
           const std::vector<std::size_t>* class_positions, Take take) {
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
    if (Differ(entry.item, code, (*match)->item)) {
      result = false;
      errors.push_back(FormatMessage(LoadResourceString(IDS_TAG_CONFLICT), entry.name));
    }
  });

  if (result) {
    for (const TagMap::Entry* entry : to_add) {
      CDatabaseItem item = take(*entry);
      item.m_type = MergedTypeCode(item.m_type, class_positions);
      first.m_tags.SetAt(entry->name, std::move(item));
    }
  }
  return result;
}

}  // namespace

bool MergeTagLists(CTagList& first, const CTagList& second, std::vector<std::u16string>& errors,
                   const std::vector<std::size_t>* class_positions) {
  return Merge(first, second, errors, class_positions, [](const TagMap::Entry& entry) {
    CDatabaseItem item;
    item.CopyFrom(entry.item);
    return item;
  });
}

bool MergeTagLists(CTagList& first, CTagList&& second, std::vector<std::u16string>& errors,
                   const std::vector<std::size_t>* class_positions) {
  return Merge(first, second, errors, class_positions, [](const TagMap::Entry& entry) {
    // second itself is not const: its records may be taken.
    return std::move(const_cast<CDatabaseItem&>(entry.item));
  });
}

}  // namespace junctra
