// The error list dialog: the conflicts that stopped an interactive merge,
// one per line, in a read-only text box.
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "ui/qt/template_dialog.h"

namespace junctra {

class CErrorDlg : public TemplateDialog {
 public:
  // error_list is borrowed and must outlive the modal run.
  CErrorDlg(const std::vector<std::u16string>* error_list, QWidget* parent);

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnInitDialog() override;

 private:
  QPlainTextEdit* m_editErrors = nullptr;
  const std::vector<std::u16string>* m_pErrorList;
};

}  // namespace junctra
