// The About box: program icon, name and version, a notice line, OK.
#pragma once

#include "ui/qt/template_dialog.h"

namespace junctra {

class CAboutDlg : public TemplateDialog {
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace junctra
