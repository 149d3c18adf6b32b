#include "ui/qt/error_dlg.h"

#include "platform/resource_module.h"
#include "ui/control_ids.h"
#include "ui/error_list_text.h"
#include "ui/qt/qt_text.h"

namespace junctra {

CErrorDlg::CErrorDlg(const std::vector<std::u16string>* error_list, QWidget* parent)
    : TemplateDialog(IDD_ERROR_DIALOG, parent), m_pErrorList(error_list) {}

void CErrorDlg::DoDataExchange(DataExchange& dx) { dx.Control(IDC_ERRORS, m_editErrors); }

bool CErrorDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  // The text box's own line end, so that Qt shows no carriage returns.
  if (m_editErrors != nullptr && m_pErrorList != nullptr) {
    m_editErrors->setPlainText(ToQString(ErrorListText(*m_pErrorList, u"\n")));
  }
  return true;
}

}  // namespace junctra
