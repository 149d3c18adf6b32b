#include "database/list_helpers.h"

#include "database/class_list.h"
#include "database/database_item.h"
#include "platform/text.h"

namespace junctra {

bool CompareStringArrays(const std::vector<std::u16string_view>& a,
                         const std::vector<std::u16string_view>& b) {
  if (a.size() != b.size()) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!EqualsIgnoringAsciiCase(a[i], b[i])) return true;
  }
  return false;
}

// Compared whole: folding the case of A to Z leaves every line feed where
// it is, so two texts that are equal that way split into the same lines,
// equal one by one, and two that are not differ in some line.
bool CompareStringArrays(const SectionLines& a, const SectionLines& b) {
  return !EqualsIgnoringAsciiCase(a.text(), b.text());
}

bool CompareWordArrays(const std::vector<std::uint16_t>& a, const std::vector<std::uint16_t>& b) {
  return a != b;
}

bool CClassInfo::IsDifferent(const CClassInfo& other) const {
  return CompareStringArrays(m_memberNames, other.m_memberNames) ||
         CompareWordArrays(m_memberTypes, other.m_memberTypes) ||
         CompareStringArrays(m_memberTexts, other.m_memberTexts);
}

bool CDatabaseItem::IsDifferent(const CDatabaseItem& other, std::int32_t type) const {
  return m_number != other.m_number || type != other.m_type ||
         !EqualsIgnoringAsciiCase(m_rest, other.m_rest) ||
         CompareStringArrays(m_alarmLines, other.m_alarmLines) ||
         CompareStringArrays(m_historyLines, other.m_historyLines) ||
         CompareStringArrays(m_parameterLines, other.m_parameterLines);
}

}  // namespace junctra
