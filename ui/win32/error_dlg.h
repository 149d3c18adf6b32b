// The error list dialog: the conflicts that stopped an interactive merge,
// one per line in a list; the selected one's detail below it, both versions
// side by side, wrapped, with the difference selected and in view (tabbing
// into a version keeps it so) and the common ancestor's under
// them; Copy (and Ctrl+C in the list) puts the whole report on the
// clipboard. Take first and Take second decide the selected conflict; Merge
// with these choices, once all are decided, ends the dialog with them.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "merge/conflict.h"
#include "ui/error_list_logic.h"
#include "ui/win32/template_dialog.h"

namespace junctra {

class CErrorDlg : public TemplateDialog, private ErrorListView {
 public:
  // The list is borrowed and must outlive the modal run.
  CErrorDlg(const ConflictList& conflicts, HWND owner);

  // The choices after Merge with these choices; none after OK or Escape.
  Decisions decisions() const { return logic_.decisions(); }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id, int notification) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR* result) override;

 private:
  // ErrorListView
  void ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) override;
  void SetClipboardText(const std::u16string& text) override;
  void ShowRow(std::size_t row, const std::u16string& text) override;
  void EnableTake(bool enabled) override;
  void EnableMergeDecided(bool enabled) override;

  // Lets the list scroll sideways as far as text needs.
  void FitWidth(const std::vector<std::wstring>& texts);

  ErrorListLogic logic_;
  int list_width_ = 0;  // the list's horizontal extent
  // The difference marked in the first and the second pane.
  std::array<std::pair<std::size_t, std::size_t>, 2> marks_{};
};

}  // namespace junctra
