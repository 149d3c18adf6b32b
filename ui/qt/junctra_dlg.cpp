#include "ui/qt/junctra_dlg.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <utility>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "ui/qt/about_dlg.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/error_dlg.h"
#include "ui/qt/qt_text.h"

namespace junctra {

CJunctraDlg::CJunctraDlg(QWidget* parent, DialogServices services, Env* env)
    : TemplateDialog(IDD_JUNCTRA_DIALOG, parent),
      m_hIcon(LoadIconResource(IDR_MAINFRAME)),
      services_(services),
      logic_(*this, env),
      window_menu_(std::make_unique<WindowMenu>(this, [this](unsigned id) { OnSysCommand(id); })) {}

CJunctraDlg::~CJunctraDlg() = default;

void CJunctraDlg::SetFolders(std::filesystem::path first, std::filesystem::path second) {
  logic_.SetFolders(std::move(first), std::move(second));
}

void CJunctraDlg::SetBase(std::filesystem::path base) { logic_.SetBase(std::move(base)); }

void CJunctraDlg::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_MERGE, m_btnMerge);
  dx.Text(IDC_FIRST_FOLDER, m_strFirstFolder);
  dx.Text(IDC_SECOND_FOLDER, m_strSecondFolder);
  dx.Text(IDC_BASE_FOLDER, m_strBaseFolder);
}

bool CJunctraDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();

  if (!about_entry_added_) {
    const std::u16string about = LoadResourceString(IDS_ABOUTBOX);
    if (!about.empty()) {
      window_menu_->AppendSeparator();
      window_menu_->AppendItem(IDM_ABOUTBOX, ToQString(about));
    }
    about_entry_added_ = true;
  }

  setWindowIcon(m_hIcon);

  logic_.OnInitDialog();
  return true;
}

void CJunctraDlg::OnCommand(int id) {
  if (id == IDC_SELECT) {
    logic_.OnSelect();
  } else if (id == IDC_MERGE) {
    logic_.OnMerge();
  } else if (id == IDC_SELECT_BASE) {
    logic_.OnSelectBase();
  } else if (id == IDC_CLEAR_BASE) {
    logic_.OnClearBase();
  }
}

void CJunctraDlg::OnSysCommand(unsigned id) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about(this);
    about.DoModal();
  } else {
    window_menu_->RunDefault(id);
  }
}

void CJunctraDlg::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) {
    window_menu_->Popup(event->globalPos());
  } else {
    window_menu_->PopupAtWindowCorner();
  }
}

void CJunctraDlg::ShowFolders(const std::filesystem::path& first,
                              const std::filesystem::path& second) {
  m_strFirstFolder = PathToQString(first);
  m_strSecondFolder = PathToQString(second);
  UpdateData(false);
  ShowPathEnds();
}

void CJunctraDlg::ShowBase(const std::filesystem::path& base) {
  m_strBaseFolder = PathToQString(base);
  UpdateData(false);
  ShowPathEnds();
}

// A field too narrow for its path shows the path's end, the folder's own
// name; the whole path is its tooltip.
void CJunctraDlg::ShowPathEnds() {
  for (const int id : {IDC_FIRST_FOLDER, IDC_SECOND_FOLDER, IDC_BASE_FOLDER}) {
    if (auto* field = qobject_cast<QLineEdit*>(GetDlgItem(id))) {
      field->setCursorPosition(static_cast<int>(field->text().size()));
      field->setToolTip(field->text());
    }
  }
}

void CJunctraDlg::EnableMerge(bool enabled) {
  if (m_btnMerge != nullptr) m_btnMerge->setEnabled(enabled);
}

void CJunctraDlg::FocusMerge() {
  if (m_btnMerge != nullptr) m_btnMerge->setFocus();
}

void CJunctraDlg::ShowResult(const std::u16string& text) {
  if (auto* label = qobject_cast<QLabel*>(GetDlgItem(IDC_RESULT))) label->setText(ToQString(text));
}

Decisions CJunctraDlg::ShowErrorList(const ConflictList& conflicts) {
  CErrorDlg dialog(conflicts, this);
  dialog.DoModal();
  return dialog.decisions();
}

bool CJunctraDlg::BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                                  const std::filesystem::path& start, FolderUse use) {
  return services_.folders->BrowseForFolder(this, folder, prompt, start, use);
}

bool CJunctraDlg::AskReplace(const std::u16string& question) {
  return services_.messages->AskReplace(this, question);
}

void CJunctraDlg::ShowMessage(const std::u16string& text, const std::u16string& detail) {
  services_.messages->ShowMessage(this, text, detail);
}

}  // namespace junctra
