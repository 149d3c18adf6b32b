#include "merge/conflict_detail.h"

#include <algorithm>

#include "database/class_list.h"
#include "database/database_item.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {
namespace {

std::u16string Quoted(std::u16string_view text) { return u"\"" + ShownText(text) + u"\""; }

std::u16string Decimal(std::int64_t value) {
  std::u16string text;
  AppendDecimal(text, value);
  return text;
}

// "5 (Pump)" for a code that names a class of the merged list.
std::u16string TypeText(std::int32_t code, const std::vector<std::u16string_view>& class_names) {
  std::u16string text = Decimal(code);
  if (code >= 4 && static_cast<std::size_t>(code - 4) < class_names.size()) {
    text += u" (" + Quoted(class_names[static_cast<std::size_t>(code - 4)]) + u")";
  }
  return text;
}

ConflictDetail Detail(const ResourceModule& strings, unsigned part, std::u16string first,
                      std::u16string second, std::u16string_view arg1 = {},
                      std::u16string_view arg2 = {}) {
  return {FormatMessage(strings.LoadString(part), arg1, arg2), std::move(first), std::move(second),
          {}};
}

// The first line where two sections differ, "(none)" standing for a line
// that one of them lacks; false when they do not differ.
bool SectionDifference(const SectionLines& a, const SectionLines& b, unsigned part,
                       const ResourceModule& strings, ConflictDetail* detail) {
  auto line_a = a.begin();
  auto line_b = b.begin();
  for (std::int64_t number = 1; line_a != a.end() || line_b != b.end(); ++number) {
    const bool has_a = line_a != a.end();
    const bool has_b = line_b != b.end();
    if (has_a && has_b && EqualsIgnoringAsciiCase(*line_a, *line_b)) {
      ++line_a;
      ++line_b;
      continue;
    }
    const std::u16string none = strings.LoadString(IDS_DETAIL_NONE);
    *detail = Detail(strings, part, has_a ? Quoted(*line_a) : none, has_b ? Quoted(*line_b) : none,
                     Decimal(number));
    return true;
  }
  return false;
}

}  // namespace

std::u16string ShownText(std::u16string_view text) {
  if (!text.empty() && text.back() == u'\n') text.remove_suffix(1);
  const bool cut = text.size() > kShownTextLength;
  if (cut) {
    text = text.substr(0, kShownTextLength);
    if (text.back() >= 0xD800 && text.back() <= 0xDBFF) text.remove_suffix(1);
  }
  std::u16string shown = MaskControls(text);
  if (cut) shown += u'\u2026';
  return shown;
}

ConflictDetail DescribeTagDifference(const CDatabaseItem& first, const CDatabaseItem& second,
                                     std::int32_t second_type,
                                     const std::vector<std::u16string_view>& class_names,
                                     const ResourceModule& strings) {
  if (first.m_number != second.m_number) {
    return Detail(strings, IDS_DETAIL_NUMBER, Decimal(first.m_number), Decimal(second.m_number));
  }
  if (first.m_type != second_type) {
    return Detail(strings, IDS_DETAIL_TYPE, TypeText(first.m_type, class_names),
                  TypeText(second_type, class_names));
  }
  if (!EqualsIgnoringAsciiCase(first.m_rest, second.m_rest)) {
    return Detail(strings, IDS_DETAIL_TAG_LINE, Quoted(first.m_rest), Quoted(second.m_rest));
  }
  ConflictDetail detail;
  if (SectionDifference(first.m_parameterLines, second.m_parameterLines, IDS_DETAIL_PARAMETERS,
                        strings, &detail) ||
      SectionDifference(first.m_alarmLines, second.m_alarmLines, IDS_DETAIL_ALARM, strings,
                        &detail) ||
      SectionDifference(first.m_historyLines, second.m_historyLines, IDS_DETAIL_HISTORY, strings,
                        &detail)) {
    return detail;
  }
  return {};
}

ConflictDetail DescribeClassDifference(const CClassInfo& first, const CClassInfo& second,
                                       const ResourceModule& strings) {
  const std::size_t count = first.m_memberNames.size();
  if (count != second.m_memberNames.size() || first.m_memberTypes.size() != count ||
      second.m_memberTypes.size() != count || first.m_memberTexts.size() != count ||
      second.m_memberTexts.size() != count) {
    return Detail(strings, IDS_DETAIL_MEMBER_COUNT, Decimal(static_cast<int64_t>(count)),
                  Decimal(static_cast<int64_t>(second.m_memberNames.size())));
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::u16string position = Decimal(static_cast<int64_t>(i + 1));
    const std::u16string name = ShownText(first.m_memberNames[i]);
    if (!EqualsIgnoringAsciiCase(first.m_memberNames[i], second.m_memberNames[i])) {
      return Detail(strings, IDS_DETAIL_MEMBER_NAME, Quoted(first.m_memberNames[i]),
                    Quoted(second.m_memberNames[i]), position, name);
    }
    if (first.m_memberTypes[i] != second.m_memberTypes[i]) {
      return Detail(strings, IDS_DETAIL_MEMBER_TYPE, Decimal(first.m_memberTypes[i]),
                    Decimal(second.m_memberTypes[i]), position, name);
    }
    if (!EqualsIgnoringAsciiCase(first.m_memberTexts[i], second.m_memberTexts[i])) {
      return Detail(strings, IDS_DETAIL_MEMBER_TEXT, Quoted(first.m_memberTexts[i]),
                    Quoted(second.m_memberTexts[i]), position, name);
    }
  }
  return {};
}

std::u16string DetailLine(const ConflictDetail& detail, const ResourceModule& strings) {
  return FormatMessage(strings.LoadString(IDS_DETAIL_LINE),
                       {detail.part, detail.first, detail.second});
}

std::vector<std::u16string> ConflictReportLines(const ConflictList& conflicts,
                                                const ResourceModule& strings) {
  std::vector<std::u16string> lines;
  lines.reserve(conflicts.size() * 2);
  for (const Conflict& conflict : conflicts) {
    lines.push_back(conflict.line);
    if (!conflict.detail.part.empty()) {
      lines.push_back(u"  " + DetailLine(conflict.detail, strings));
    }
  }
  return lines;
}

}  // namespace junctra
