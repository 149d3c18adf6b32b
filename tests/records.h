// Records built in memory for the tests of the checks and their records,
// and their texts as strings for comparisons.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "database/class_list.h"
#include "database/database_item.h"
#include "database/text_store.h"

namespace junctra {

// A copy of text that lives as long as the test program, for records and
// names built in memory.
inline std::u16string_view Kept(std::u16string_view text) {
  static TextStore store;
  return store.Keep(text);
}
inline std::vector<std::u16string_view> Kept(const std::vector<std::u16string>& texts) {
  std::vector<std::u16string_view> kept;
  for (const std::u16string& text : texts) kept.push_back(Kept(text));
  return kept;
}
// A section of these lines, one after another.
inline SectionLines Section(std::initializer_list<std::u16string_view> lines) {
  std::u16string text;
  for (std::u16string_view line : lines) text += line;
  return SectionLines(Kept(text));
}

// Texts as strings, to compare with expected ones.
inline std::vector<std::u16string> AsStrings(const std::vector<std::u16string_view>& views) {
  return std::vector<std::u16string>(views.begin(), views.end());
}
inline std::vector<std::u16string> AsStrings(const SectionLines& lines) {
  return std::vector<std::u16string>(lines.begin(), lines.end());
}

inline CClassInfo Members(const std::vector<std::u16string>& names,
                          std::vector<std::uint16_t> types,
                          const std::vector<std::u16string>& texts) {
  CClassInfo info;
  info.m_memberNames = Kept(names);
  info.m_memberTypes = std::move(types);
  info.m_memberTexts = Kept(texts);
  return info;
}

inline CClassInfo Pump() { return Members({u"Speed", u"Running"}, {2, 1}, {u"rpm", u"on/off"}); }

// A tag record with one parameter line.
inline CDatabaseItem Tag(std::int32_t number, std::int32_t type, std::u16string_view rest = u"|x\n",
                         std::initializer_list<std::u16string_view> alarm = {}) {
  CDatabaseItem item;
  item.m_number = number;
  item.m_type = type;
  item.m_rest = Kept(rest);
  item.m_alarmLines = Section(alarm);
  item.m_parameterLines = Section({u"P=1\n"});
  return item;
}

}  // namespace junctra
