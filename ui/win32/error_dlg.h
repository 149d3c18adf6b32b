// The error list dialog: the conflicts that stopped an interactive merge,
// one per line, in a read-only text box.
#pragma once

#include <string>
#include <vector>

#include "ui/win32/template_dialog.h"

namespace junctra {

class CErrorDlg : public TemplateDialog {
 public:
  // error_list is borrowed and must outlive the modal run.
  CErrorDlg(const std::vector<std::u16string>* error_list, HWND owner);

 protected:
  bool OnInitDialog() override;

 private:
  const std::vector<std::u16string>* m_pErrorList;
};

}  // namespace junctra
