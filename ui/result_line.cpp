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
  return FormatMessage(
      strings.LoadString(IDS_MERGE_RESULT),
      {MaskControls(PathToUtf16(summary.output)), number(summary.classes), number(summary.tags),
       number(summary.classes_from_second), number(summary.tags_from_second)});
}

}  // namespace junctra
