#include "ui/win32/error_dlg.h"

#include "platform/resource_module.h"
#include "ui/control_ids.h"
#include "ui/error_list_text.h"
#include "ui/win32/win32_text.h"

namespace junctra {

CErrorDlg::CErrorDlg(const std::vector<std::u16string>* error_list, HWND owner)
    : TemplateDialog(IDD_ERROR_DIALOG, owner), m_pErrorList(error_list) {}

bool CErrorDlg::OnInitDialog() {
  if (m_pErrorList != nullptr) {
    SetDlgItemTextW(hwnd(), IDC_ERRORS, ToWide(ErrorListText(*m_pErrorList, u"\r\n")).c_str());
  }
  return true;
}

}  // namespace junctra
