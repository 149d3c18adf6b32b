#include "ui/error_dlg.h"

#include "platform/resource_module.h"
#include "ui/qt_text.h"

namespace junctra {

namespace {
constexpr int kErrorsEdit = 1006;
}  // namespace

CErrorDlg::CErrorDlg(const std::vector<std::u16string>* error_list, QWidget* parent)
    : TemplateDialog(IDD_ERROR_DIALOG, parent), m_pErrorList(error_list) {}

void CErrorDlg::DoDataExchange(DataExchange& dx) { dx.Control(kErrorsEdit, m_editErrors); }

bool CErrorDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  // Every line, the last included, ends with a line end.
  QString text;
  if (m_pErrorList != nullptr) {
    for (const std::u16string& line : *m_pErrorList) {
      text += ToQString(line);
      text += u'\n';
    }
  }
  if (m_editErrors != nullptr) m_editErrors->setPlainText(text);
  return true;
}

}  // namespace junctra
