#include "ui/error_list_logic.h"

#include <algorithm>

#include "merge/conflict_detail.h"
#include "platform/resource_module.h"
#include "platform/text.h"

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

bool ErrorListLogic::has_base() const {
  return std::any_of(conflicts_.begin(), conflicts_.end(),
                     [](const Conflict& conflict) { return !conflict.detail.base.empty(); });
}

void ErrorListLogic::OnInitDialog() {
  view_.EnableTake(false);
  view_.EnableMergeDecided(false);
}

void ErrorListLogic::OnSelect(std::ptrdiff_t row) {
  selected_ = row >= 0 && static_cast<std::size_t>(row) < conflicts_.size() ? row : -1;
  ConflictDetail detail;
  if (selected_ >= 0) detail = conflicts_[static_cast<std::size_t>(selected_)].detail;
  view_.ShowDetail(detail, MarkDifference(detail.first, detail.second));
  view_.EnableTake(selected_ >= 0 && conflicts_[static_cast<std::size_t>(selected_)].decidable());
}

void ErrorListLogic::OnTake(Side side) {
  if (selected_ < 0) return;
  const auto row = static_cast<std::size_t>(selected_);
  if (!conflicts_[row].decidable()) return;
  if (!choices_[row]) --undecided_;
  choices_[row] = side;
  view_.ShowRow(row, RowText(row));
  view_.EnableMergeDecided(undecided_ == 0);
}

bool ErrorListLogic::OnMergeDecided() {
  merge_decided_ = !conflicts_.empty() && undecided_ == 0;
  return merge_decided_;
}

std::u16string ErrorListLogic::RowText(std::size_t row) const {
  const std::u16string& line = conflicts_[row].line;
  if (!choices_[row]) return line;
  return FormatMessage(
      LoadResourceString(*choices_[row] == Side::kFirst ? IDS_CHOICE_FIRST : IDS_CHOICE_SECOND),
      line);
}

Decisions ErrorListLogic::decisions() const {
  Decisions decisions;
  if (!merge_decided_) return decisions;
  for (std::size_t i = 0; i < conflicts_.size(); ++i) {
    decisions.each.push_back({conflicts_[i].is_class, conflicts_[i].name, *choices_[i]});
  }
  return decisions;
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
