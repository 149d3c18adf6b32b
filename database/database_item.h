// One tag definition. Its name is the key of the tag map that holds it. Its
// texts are views into the text that the owning list keeps (TextStore):
// the decoded text of the file it was read from, for a loaded tag.
#pragma once

#include <cstdint>
#include <string_view>

#include "database/section_lines.h"

namespace junctra {

struct CDatabaseItem {
  std::int32_t m_number = 0;
  // Type code; 4 and up name a class by its position in the class list.
  std::int32_t m_type = 0;
  // The tag line from the separator after the type code, with its "\n".
  std::u16string_view m_rest;
  SectionLines m_alarmLines;
  SectionLines m_historyLines;
  SectionLines m_parameterLines;

  // Differs from other beyond the case of A to Z in texts, this record's
  // type code taken as type (the tag check translates class references).
  bool IsDifferent(const CDatabaseItem& other, std::int32_t type) const;
};

}  // namespace junctra
