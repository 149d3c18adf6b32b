// One tag definition. Its name is the key of the tag map that holds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace junctra {

struct CDatabaseItem {
  std::int32_t m_number = 0;
  // Type code; 4 and up name a class by its position in the class list.
  std::int32_t m_type = 0;
  // The tag line from the separator after the type code, with its "\n".
  std::u16string m_rest;
  std::vector<std::u16string> m_alarmLines;
  std::vector<std::u16string> m_historyLines;
  std::vector<std::u16string> m_parameterLines;

  // Differs from other beyond the case of A to Z in texts, this record's
  // type code taken as type (the tag check translates class references).
  bool IsDifferent(const CDatabaseItem& other, std::int32_t type) const;
};

}  // namespace junctra
