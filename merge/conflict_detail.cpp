#include "merge/conflict_detail.h"

#include <algorithm>

#include "database/class_list.h"
#include "database/database_item.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {
namespace {

// A text in the language's quotation marks.
std::u16string Quoted(std::u16string_view text, const ResourceModule& strings) {
  return FormatMessage(strings.LoadString(IDS_QUOTED), ShownText(text));
}

std::u16string Decimal(std::int64_t value) {
  std::u16string text;
  AppendDecimal(text, value);
  return text;
}

// "5 (Pump)" for a code that names a class of the merged list.
std::u16string TypeText(std::int32_t code, const std::vector<std::u16string_view>& class_names,
                        const ResourceModule& strings) {
  std::u16string text = Decimal(code);
  if (code >= 4 && static_cast<std::size_t>(code - 4) < class_names.size()) {
    text += u" (" + Quoted(class_names[static_cast<std::size_t>(code - 4)], strings) + u")";
  }
  return text;
}

// The number of the first line where two sections differ; 0 when they do
// not differ.
std::int64_t FirstDifferentLine(const SectionLines& a, const SectionLines& b) {
  auto line_a = a.begin();
  auto line_b = b.begin();
  for (std::int64_t number = 1; line_a != a.end() || line_b != b.end(); ++number) {
    if (line_a == a.end() || line_b == b.end() || !EqualsIgnoringAsciiCase(*line_a, *line_b)) {
      return number;
    }
    ++line_a;
    ++line_b;
  }
  return 0;
}

// Line number of a section in quotes, "(none)" where it has fewer lines.
std::u16string NthLine(const SectionLines& lines, std::int64_t number,
                       const ResourceModule& strings) {
  auto line = lines.begin();
  for (std::int64_t i = 1; i < number && line != lines.end(); ++i) ++line;
  return line != lines.end() ? Quoted(*line, strings) : strings.LoadString(IDS_DETAIL_NONE);
}

// Where two tags first differ, in file order; line counts in sections.
enum class TagField { kNone, kNumber, kType, kRest, kParameters, kAlarm, kHistory };
struct TagPart {
  TagField field = TagField::kNone;
  std::int64_t line = 0;
};

constexpr TagField kSections[] = {TagField::kParameters, TagField::kAlarm, TagField::kHistory};

const SectionLines& Section(const CDatabaseItem& item, TagField field) {
  return field == TagField::kParameters ? item.m_parameterLines
         : field == TagField::kAlarm    ? item.m_alarmLines
                                        : item.m_historyLines;
}

TagPart FirstTagDifference(const TagVersion& a, const TagVersion& b) {
  if (a.item->m_number != b.item->m_number) return {TagField::kNumber};
  if (a.type_key != b.type_key) return {TagField::kType};
  if (!EqualsIgnoringAsciiCase(a.item->m_rest, b.item->m_rest)) return {TagField::kRest};
  for (TagField field : kSections) {
    if (std::int64_t line = FirstDifferentLine(Section(*a.item, field), Section(*b.item, field))) {
      return {field, line};
    }
  }
  return {};
}

// The part of a version as a detail shows it; "(deleted)" for none.
std::u16string TagPartText(const TagVersion& version, TagPart part, const ResourceModule& strings) {
  if (version.item == nullptr) return strings.LoadString(IDS_DETAIL_DELETED);
  switch (part.field) {
    case TagField::kNumber:
      return Decimal(version.item->m_number);
    case TagField::kType:
      return TypeText(version.type, *version.class_names, strings);
    case TagField::kRest:
      return Quoted(version.item->m_rest, strings);
    default:
      return NthLine(Section(*version.item, part.field), part.line, strings);
  }
}

std::u16string TagPartName(TagPart part, const ResourceModule& strings) {
  switch (part.field) {
    case TagField::kNumber:
      return strings.LoadString(IDS_DETAIL_NUMBER);
    case TagField::kType:
      return strings.LoadString(IDS_DETAIL_TYPE);
    case TagField::kRest:
      return strings.LoadString(IDS_DETAIL_TAG_LINE);
    default:
      break;
  }
  const unsigned id = part.field == TagField::kParameters ? IDS_DETAIL_PARAMETERS
                      : part.field == TagField::kAlarm    ? IDS_DETAIL_ALARM
                                                          : IDS_DETAIL_HISTORY;
  return FormatMessage(strings.LoadString(id), Decimal(part.line));
}

// Where two classes first differ: the member count, else a member's field.
enum class ClassField { kNone, kCount, kName, kType, kText };
struct ClassPart {
  ClassField field = ClassField::kNone;
  std::size_t member = 0;
};

ClassPart FirstClassDifference(const CClassInfo& a, const CClassInfo& b) {
  const std::size_t count = a.m_memberNames.size();
  if (count != b.m_memberNames.size() || a.m_memberTypes.size() != count ||
      b.m_memberTypes.size() != count || a.m_memberTexts.size() != count ||
      b.m_memberTexts.size() != count) {
    return {ClassField::kCount};
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (!EqualsIgnoringAsciiCase(a.m_memberNames[i], b.m_memberNames[i])) {
      return {ClassField::kName, i};
    }
    if (a.m_memberTypes[i] != b.m_memberTypes[i]) return {ClassField::kType, i};
    if (!EqualsIgnoringAsciiCase(a.m_memberTexts[i], b.m_memberTexts[i])) {
      return {ClassField::kText, i};
    }
  }
  return {};
}

std::u16string ClassPartText(const CClassInfo* info, ClassPart part,
                             const ResourceModule& strings) {
  if (info == nullptr) return strings.LoadString(IDS_DETAIL_DELETED);
  if (part.field == ClassField::kCount) {
    return Decimal(static_cast<std::int64_t>(info->m_memberNames.size()));
  }
  const std::size_t i = part.member;
  const auto& names = info->m_memberNames;
  const auto& types = info->m_memberTypes;
  const auto& texts = info->m_memberTexts;
  if (part.field == ClassField::kName && i < names.size()) return Quoted(names[i], strings);
  if (part.field == ClassField::kType && i < types.size()) return Decimal(types[i]);
  if (part.field == ClassField::kText && i < texts.size()) return Quoted(texts[i], strings);
  return strings.LoadString(IDS_DETAIL_NONE);
}

// member_name: the member as the first of the two compared versions names it.
std::u16string ClassPartName(ClassPart part, std::u16string_view member_name,
                             const ResourceModule& strings) {
  if (part.field == ClassField::kCount) return strings.LoadString(IDS_DETAIL_MEMBER_COUNT);
  const unsigned id = part.field == ClassField::kName   ? IDS_DETAIL_MEMBER_NAME
                      : part.field == ClassField::kType ? IDS_DETAIL_MEMBER_TYPE
                                                        : IDS_DETAIL_MEMBER_TEXT;
  return FormatMessage(strings.LoadString(id), Decimal(static_cast<std::int64_t>(part.member + 1)),
                       ShownText(member_name));
}

// The two versions that are compared: first and second when both are
// there, else the one there and the base.
template <class Version>
std::pair<const Version*, const Version*> Compared(const Version* first, const Version* second,
                                                   const Version* base) {
  if (first != nullptr && second != nullptr) return {first, second};
  return {first != nullptr ? first : second, base};
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
  return DescribeTagConflict({&first, first.m_type, first.m_type, &class_names},
                             {&second, second_type, second_type, &class_names}, nullptr, strings);
}

ConflictDetail DescribeTagConflict(const TagVersion& first, const TagVersion& second,
                                   const TagVersion* base, const ResourceModule& strings) {
  const TagVersion* const present_first = first.item != nullptr ? &first : nullptr;
  const TagVersion* const present_second = second.item != nullptr ? &second : nullptr;
  const auto [a, b] = Compared(present_first, present_second, base);
  if (a == nullptr || b == nullptr || b->item == nullptr) return {};
  const TagPart part = FirstTagDifference(*a, *b);
  if (part.field == TagField::kNone) return {};
  return {TagPartName(part, strings), TagPartText(first, part, strings),
          TagPartText(second, part, strings),
          base != nullptr ? TagPartText(*base, part, strings) : std::u16string()};
}

ConflictDetail DescribeClassDifference(const CClassInfo& first, const CClassInfo& second,
                                       const ResourceModule& strings) {
  return DescribeClassConflict(&first, &second, nullptr, strings);
}

ConflictDetail DescribeClassConflict(const CClassInfo* first, const CClassInfo* second,
                                     const CClassInfo* base, const ResourceModule& strings) {
  const auto [a, b] = Compared(first, second, base);
  if (a == nullptr || b == nullptr) return {};
  const ClassPart part = FirstClassDifference(*a, *b);
  if (part.field == ClassField::kNone) return {};
  const std::u16string_view member =
      part.member < a->m_memberNames.size() ? a->m_memberNames[part.member] : std::u16string_view();
  return {ClassPartName(part, member, strings), ClassPartText(first, part, strings),
          ClassPartText(second, part, strings),
          base != nullptr ? ClassPartText(base, part, strings) : std::u16string()};
}

std::u16string DetailLine(const ConflictDetail& detail, const ResourceModule& strings) {
  if (!detail.base.empty()) {
    return FormatMessage(strings.LoadString(IDS_DETAIL_LINE_BASE),
                         {detail.part, detail.first, detail.second, detail.base});
  }
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
