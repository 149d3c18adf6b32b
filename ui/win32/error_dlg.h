// The error list dialog: the conflicts that stopped an interactive merge,
// one per line in a list; the selected one's detail below it, both versions
// side by side with the difference selected; Copy (and Ctrl+C in the list)
// puts the whole report on the clipboard.
#pragma once

#include <string>

#include "merge/conflict.h"
#include "ui/error_list_logic.h"
#include "ui/win32/template_dialog.h"

namespace junctra {

class CErrorDlg : public TemplateDialog, private ErrorListView {
 public:
  // The list is borrowed and must outlive the modal run.
  CErrorDlg(const ConflictList& conflicts, HWND owner);

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id, int notification) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR* result) override;

 private:
  // ErrorListView
  void ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) override;
  void SetClipboardText(const std::u16string& text) override;

  ErrorListLogic logic_;
};

}  // namespace junctra
