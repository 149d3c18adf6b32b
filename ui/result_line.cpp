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
  // A plain two-way merge keeps its line; the counts of changes, deletions
  // and decisions are shown where there can be any.
  const bool detailed = summary.three_way || summary.decided != 0 || summary.dry_run;
  const unsigned format = summary.dry_run ? IDS_DRY_RUN_RESULT
                          : detailed      ? IDS_MERGE_RESULT_DETAILED
                                          : IDS_MERGE_RESULT;
  return FormatMessage(
      strings.LoadString(format),
      {MaskControls(PathToUtf16(summary.output)), number(summary.classes), number(summary.tags),
       number(summary.classes_from_second), number(summary.tags_from_second),
       number(summary.changed), number(summary.deleted), number(summary.decided)});
}

}  // namespace junctra
