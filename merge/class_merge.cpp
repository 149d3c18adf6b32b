#include "merge/class_merge.h"

#include <unordered_map>

#include "database/class_list.h"
#include "merge/conflict_detail.h"
#include "merge/folded_name_index.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {

bool MergeClassLists(CClassList& first, CClassList&& second, ConflictList& conflicts,
                     const ResourceModule& strings, std::vector<std::size_t>& positions) {
  bool result = true;
  // Folded name -> first class of that name in the first list.
  struct Deref {
    std::u16string_view operator()(const std::u16string_view* name) const { return *name; }
  };
  FoldedNameIndex<const std::u16string_view*, Deref> first_names;
  const std::u16string_view* const first_begin = first.m_classNames.data();
  for (const std::u16string_view& name : first.m_classNames) first_names.AddIfAbsent(&name);

  const std::size_t count = second.m_classNames.size();
  std::vector<std::size_t> merged(count);
  std::vector<std::size_t> to_add;
  for (std::size_t i = 0; i < count; ++i) {
    if (const std::u16string_view* const* match = first_names.Find(second.m_classNames[i])) {
      const auto j = static_cast<std::size_t>(*match - first_begin);
      merged[i] = j;
      if (first.m_classInfos[j].IsDifferent(second.m_classInfos[i])) {
        result = false;
        conflicts.push_back(
            {FormatMessage(strings.LoadString(IDS_CLASS_CONFLICT), first.m_classNames[j]),
             DescribeClassDifference(first.m_classInfos[j], second.m_classInfos[i], strings), true,
             std::u16string(first.m_classNames[j])});
      }
    } else {
      merged[i] = first.m_classNames.size() + to_add.size();
      to_add.push_back(i);
    }
  }

  if (result) {
    // Exact room: growing by doubling would hold both arrays at once.
    first.m_classNames.reserve(first.m_classNames.size() + to_add.size());
    first.m_classInfos.reserve(first.m_classInfos.size() + to_add.size());
    for (std::size_t p : to_add) {
      first.AddClass(second.m_classNames[p], std::move(second.m_classInfos[p]));
    }
    // The classes taken point into the second list's text.
    first.m_texts.Adopt(std::move(second.m_texts));
    positions = std::move(merged);
  }
  return result;
}

}  // namespace junctra
