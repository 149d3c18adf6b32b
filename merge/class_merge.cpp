#include "merge/class_merge.h"

#include <unordered_map>

#include "merge/folded_name_index.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {

bool CompareStringArrays(const std::vector<std::u16string>& a,
                         const std::vector<std::u16string>& b) {
  if (a.size() != b.size()) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!EqualsIgnoringAsciiCase(a[i], b[i])) return true;
  }
  return false;
}

bool CompareWordArrays(const std::vector<std::uint16_t>& a, const std::vector<std::uint16_t>& b) {
  return a != b;
}

void CopyStringArray(std::vector<std::u16string>& target,
                     const std::vector<std::u16string>& source) {
  target = source;
}

void CopyWordArray(std::vector<std::uint16_t>& target, const std::vector<std::uint16_t>& source) {
  target = source;
}

bool CClassInfo::IsDifferent(const CClassInfo& other) const {
  return CompareStringArrays(m_memberNames, other.m_memberNames) ||
         CompareWordArrays(m_memberTypes, other.m_memberTypes) ||
         CompareStringArrays(m_memberTexts, other.m_memberTexts);
}

void CClassInfo::CopyFrom(const CClassInfo& other) {
  CopyStringArray(m_memberNames, other.m_memberNames);
  CopyWordArray(m_memberTypes, other.m_memberTypes);
  CopyStringArray(m_memberTexts, other.m_memberTexts);
}

namespace {

// Both forms of MergeClassLists; take(p) gives the definition that class p
// of the second list adds to the first.
template <class Take>
bool Merge(CClassList& first, const CClassList& second, std::vector<std::u16string>& errors,
           std::vector<std::size_t>* positions, Take take) {
  bool result = true;
  // Folded name -> first class of that name in the first list.
  struct Deref {
    std::u16string_view operator()(const std::u16string* name) const { return *name; }
  };
  FoldedNameIndex<const std::u16string*, Deref> first_names;
  const std::u16string* const first_begin = first.m_classNames.data();
  for (const std::u16string& name : first.m_classNames) first_names.AddIfAbsent(&name);

  const std::size_t count = second.m_classNames.size();
  std::vector<std::size_t> merged(count);
  std::vector<std::size_t> to_add;
  for (std::size_t i = 0; i < count; ++i) {
    if (const std::u16string* const* match = first_names.Find(second.m_classNames[i])) {
      const auto j = static_cast<std::size_t>(*match - first_begin);
      merged[i] = j;
      if (first.m_classInfos[j].IsDifferent(second.m_classInfos[i])) {
        result = false;
        errors.push_back(
            FormatMessage(LoadResourceString(IDS_CLASS_CONFLICT), first.m_classNames[j]));
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
      first.AddClass(second.m_classNames[p], take(p));
    }
    if (positions != nullptr) *positions = std::move(merged);
  }
  return result;
}

}  // namespace

bool MergeClassLists(CClassList& first, const CClassList& second,
                     std::vector<std::u16string>& errors, std::vector<std::size_t>* positions) {
  return Merge(first, second, errors, positions, [&second](std::size_t p) {
    CClassInfo info;
    info.CopyFrom(second.m_classInfos[p]);
    return info;
  });
}

bool MergeClassLists(CClassList& first, CClassList&& second, std::vector<std::u16string>& errors,
                     std::vector<std::size_t>* positions) {
  return Merge(first, second, errors, positions,
               [&second](std::size_t p) { return std::move(second.m_classInfos[p]); });
}

}  // namespace junctra
