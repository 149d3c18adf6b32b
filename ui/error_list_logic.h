// The error list dialog's behaviour, written once for every toolkit: the
// selected conflict's detail with the difference marked, and the report
// that Copy puts on the clipboard. A toolkit's dialog lists the conflicts'
// lines, owns one of these, forwards the selection and Copy to it and shows
// what it is told through ErrorListView.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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
  // them; an empty detail clears them.
  virtual void ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) = 0;
  // Replaces the clipboard's content with text.
  virtual void SetClipboardText(const std::u16string& text) = 0;
};

class ErrorListLogic {
 public:
  // conflicts is borrowed and must outlive the logic; line_end, the
  // toolkit's, ends every line of the copied report.
  ErrorListLogic(const ConflictList& conflicts, ErrorListView& view, std::u16string_view line_end)
      : conflicts_(conflicts), view_(view), line_end_(line_end) {}

  const ConflictList& conflicts() const { return conflicts_; }

  // Shows the detail of the conflict in row; a row outside the list (none
  // selected) shows none.
  void OnSelect(std::ptrdiff_t row);
  // Puts the whole report on the clipboard as batch use prints it: the
  // heading, then each conflict line and its detail.
  void OnCopy();

 private:
  const ConflictList& conflicts_;
  ErrorListView& view_;
  std::u16string_view line_end_;
};

}  // namespace junctra
