#include "ui/error_list_logic.h"

#include <algorithm>

#include "merge/conflict_detail.h"
#include "platform/resource_module.h"

namespace junctra {
namespace {

bool SameIgnoringAsciiCase(char16_t a, char16_t b) {
  auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
  return fold(a) == fold(b);
}

DifferenceMark MarkDifference(std::u16string_view first, std::u16string_view second) {
  const std::size_t shorter = std::min(first.size(), second.size());
  std::size_t begin = 0;
  while (begin < shorter && SameIgnoringAsciiCase(first[begin], second[begin])) ++begin;
  std::size_t end = 0;  // common code units at the end, not reaching into begin
  while (end < shorter - begin &&
         SameIgnoringAsciiCase(first[first.size() - 1 - end], second[second.size() - 1 - end])) {
    ++end;
  }
  return {begin, first.size() - end, second.size() - end};
}

}  // namespace

void ErrorListLogic::OnSelect(std::ptrdiff_t row) {
  ConflictDetail detail;
  if (row >= 0 && static_cast<std::size_t>(row) < conflicts_.size()) {
    detail = conflicts_[static_cast<std::size_t>(row)].detail;
  }
  view_.ShowDetail(detail, MarkDifference(detail.first, detail.second));
}

void ErrorListLogic::OnCopy() {
  const ResourceModule& strings = CurrentResourceModule();
  std::u16string text = strings.LoadString(IDS_CONFLICTS_HEADING);
  text += line_end_;
  for (const std::u16string& line : ConflictReportLines(conflicts_, strings)) {
    text += line;
    text += line_end_;
  }
  view_.SetClipboardText(text);
}

}  // namespace junctra
