// The error list dialog's behaviour, written once for every toolkit: the
// selected conflict's detail with the difference marked, the report that
// Copy puts on the clipboard, and the user's choice of a side for each
// conflict, which the dialog returns when asked to merge with them. A
// toolkit's dialog lists the conflicts' lines, owns one of these, forwards
// the selection and the buttons to it and shows what it is told through
// ErrorListView.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/conflict.h"

namespace junctra {

// The stretch where a detail's two versions differ: [begin, first_end) of
// the first and [begin, second_end) of the second, after their common
// beginning and before their common end (A to Z in either case count as
// equal).
struct DifferenceMark {
  std::size_t begin = 0;
  std::size_t first_end = 0;
  std::size_t second_end = 0;
};

// What the logic asks of the toolkit's dialog.
class ErrorListView {
 public:
  virtual ~ErrorListView() = default;
  // Shows the part and both versions side by side, with mark marked in
  // them, and the common ancestor's version; an empty detail clears them.
  virtual void ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) = 0;
  // Replaces the clipboard's content with text.
  virtual void SetClipboardText(const std::u16string& text) = 0;
  // Replaces the text of the list's row.
  virtual void ShowRow(std::size_t row, const std::u16string& text) = 0;
  // Take first and Take second, which decide the selected row.
  virtual void EnableTake(bool enabled) = 0;
  // Merge with these choices.
  virtual void EnableMergeDecided(bool enabled) = 0;
};

class ErrorListLogic {
 public:
  // conflicts is borrowed and must outlive the logic; line_end, the
  // toolkit's, ends every line of the copied report.
  ErrorListLogic(const ConflictList& conflicts, ErrorListView& view, std::u16string_view line_end)
      : conflicts_(conflicts),
        view_(view),
        line_end_(line_end),
        choices_(conflicts.size()),
        undecided_(conflicts.size()) {}

  const ConflictList& conflicts() const { return conflicts_; }
  // True when some conflict has the common ancestor's version: only then
  // does the dialog show its line.
  bool has_base() const;

  // No row selected and nothing decided: both kinds of button disabled.
  void OnInitDialog();
  // Shows the detail of the conflict in row; a row outside the list (none
  // selected) shows none. Take is enabled for a conflict that can be
  // decided.
  void OnSelect(std::ptrdiff_t row);
  // Puts the whole report on the clipboard as batch use prints it: the
  // heading, then each conflict line and its detail.
  void OnCopy();
  // Decides the selected conflict for side, replacing any earlier choice,
  // and shows it in its row. Once every conflict is decided, Merge with
  // these choices is enabled; a conflict that cannot be decided keeps it
  // disabled.
  void OnTake(Side side);
  // True when every conflict is decided: the dialog then ends, and
  // decisions() gives the choices.
  bool OnMergeDecided();

  // The row's text: the conflict's line, marked with its choice.
  std::u16string RowText(std::size_t row) const;
  // One decision per conflict after OnMergeDecided, else none (the list
  // was closed with OK or Escape).
  Decisions decisions() const;

 private:
  const ConflictList& conflicts_;
  ErrorListView& view_;
  std::u16string_view line_end_;
  std::vector<std::optional<Side>> choices_;  // one per conflict
  std::size_t undecided_;
  std::ptrdiff_t selected_ = -1;
  bool merge_decided_ = false;
};

}  // namespace junctra
