// Records built in memory for the tests of the checks and their records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/class_list.h"
#include "database/database_item.h"

namespace junctra {

inline CClassInfo Members(std::vector<std::u16string> names, std::vector<std::uint16_t> types,
                          std::vector<std::u16string> texts) {
  CClassInfo info;
  info.m_memberNames = std::move(names);
  info.m_memberTypes = std::move(types);
  info.m_memberTexts = std::move(texts);
  return info;
}

inline CClassInfo Pump() { return Members({u"Speed", u"Running"}, {2, 1}, {u"rpm", u"on/off"}); }

// A tag record with one parameter line.
inline CDatabaseItem Tag(std::int32_t number, std::int32_t type, std::u16string rest = u"|x\n",
                         std::vector<std::u16string> alarm = {}) {
  CDatabaseItem item;
  item.m_number = number;
  item.m_type = type;
  item.m_rest = std::move(rest);
  item.m_alarmLines = std::move(alarm);
  item.m_parameterLines = {u"P=1\n"};
  return item;
}

}  // namespace junctra
