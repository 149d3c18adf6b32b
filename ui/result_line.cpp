#include "ui/result_line.h"

#include "platform/path_ops.h"
#include "platform/text.h"

namespace junctra {

std::u16string GroupedDecimal(std::uint64_t value, std::u16string_view separator) {
  std::u16string digits;
  AppendDecimal(digits, static_cast<std::int64_t>(value));
  std::u16string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

std::u16string ResultLine(const MergeSummary& summary, const ResourceModule& strings) {
  const std::u16string separator = strings.LoadString(IDS_DIGIT_GROUP_SEPARATOR);
  auto number = [&](std::size_t n) { return GroupedDecimal(n, separator); };
  // "1 class", "2 classes": the language's singular and plural forms.
  auto count = [&](std::size_t n, unsigned one, unsigned many) {
    return FormatMessage(strings.LoadString(n == 1 ? one : many), number(n));
  };
  // A plain two-way merge keeps its line; the counts of changes, deletions
  // and decisions are shown where there can be any.
  const bool detailed = summary.three_way || summary.decided != 0 || summary.dry_run;
  const unsigned format = summary.dry_run ? IDS_DRY_RUN_RESULT
                          : detailed      ? IDS_MERGE_RESULT_DETAILED
                                          : IDS_MERGE_RESULT;
  return FormatMessage(strings.LoadString(format),
                       {MaskControls(PathToUtf16(summary.output)),
                        count(summary.classes, IDS_CLASS_COUNT_ONE, IDS_CLASS_COUNT),
                        count(summary.tags, IDS_TAG_COUNT_ONE, IDS_TAG_COUNT),
                        count(summary.classes_from_second, IDS_CLASS_COUNT_ONE, IDS_CLASS_COUNT),
                        count(summary.tags_from_second, IDS_TAG_COUNT_ONE, IDS_TAG_COUNT),
                        number(summary.changed), number(summary.deleted), number(summary.decided)});
}

}  // namespace junctra
