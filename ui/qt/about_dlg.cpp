#include "ui/qt/about_dlg.h"

#include "platform/resource_module.h"

namespace junctra {

CAboutDlg::CAboutDlg(QWidget* parent) : TemplateDialog(IDD_ABOUTBOX, parent) {}

}  // namespace junctra
