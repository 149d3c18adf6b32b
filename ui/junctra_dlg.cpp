#include "ui/junctra_dlg.h"

#include <QContextMenuEvent>

#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "ui/about_dlg.h"
#include "ui/app_icon.h"
#include "ui/error_dlg.h"
#include "ui/qt_text.h"

namespace junctra {

namespace {
constexpr int kSelectButton = 1000;
constexpr int kFirstFolderEdit = 1003;
constexpr int kSecondFolderEdit = 1004;
constexpr int kMergeButton = 1005;
}  // namespace

CJunctraDlg::CJunctraDlg(QWidget* parent, DialogServices services, Env* env)
    : TemplateDialog(IDD_JUNCTRA_DIALOG, parent),
      m_hIcon(LoadIconResource(IDR_MAINFRAME)),
      services_(services),
      env_(env),
      window_menu_(std::make_unique<WindowMenu>(this, [this](unsigned id) { OnSysCommand(id); })) {}

CJunctraDlg::~CJunctraDlg() = default;

void CJunctraDlg::DoDataExchange(DataExchange& dx) {
  dx.Control(kMergeButton, m_btnMerge);
  dx.Text(kFirstFolderEdit, m_strFirstFolder);
  dx.Text(kSecondFolderEdit, m_strSecondFolder);
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

  if (m_btnMerge != nullptr) m_btnMerge->setEnabled(false);
  return true;
}

void CJunctraDlg::OnCommand(int id) {
  if (id == kSelectButton) {
    OnSelect();
  } else if (id == kMergeButton) {
    OnMerge();
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

void CJunctraDlg::OnSelect() {
  const std::u16string first_prompt = LoadResourceString(IDS_SELECT_FIRST);
  const std::u16string second_prompt = LoadResourceString(IDS_SELECT_SECOND);

  std::filesystem::path first;
  if (!services_.folders->BrowseForFolder(this, first, first_prompt)) return;
  std::filesystem::path second;
  if (!services_.folders->BrowseForFolder(this, second, second_prompt)) return;

  if (first.native() == second.native()) {
    ShowMessage(LoadResourceString(IDS_SELECT_DIFFERENT));
    return;
  }
  if (first.empty() || second.empty()) return;
  EnsureTrailingBackslash(first);
  if (!HasTagListFile(first, env_)) {
    ShowMessage(LoadResourceString(IDS_FIRST_NO_DATABASE));
    return;
  }
  EnsureTrailingBackslash(second);
  if (!HasTagListFile(second, env_)) {
    ShowMessage(LoadResourceString(IDS_SECOND_NO_DATABASE));
    return;
  }

  m_strFirstFolder = PathToQString(first);
  m_strSecondFolder = PathToQString(second);
  UpdateData(false);
  if (m_btnMerge != nullptr) m_btnMerge->setEnabled(true);
}

void CJunctraDlg::OnMerge() {
  // Merge is enabled only after a successful Select.
  if (m_strFirstFolder.isEmpty() || m_strSecondFolder.isEmpty()) return;
  // No output folder: the merge asks for one.
  MergeFolders folders{QStringToPath(m_strFirstFolder), QStringToPath(m_strSecondFolder), {}};
  RunMergeCommand(folders, *this, CurrentResourceModule(), env_);
  // The folder fields keep the trailing separator the run gave them.
  m_strFirstFolder = PathToQString(folders.first);
  m_strSecondFolder = PathToQString(folders.second);
}

void CJunctraDlg::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) {
    window_menu_->Popup(event->globalPos());
  } else {
    window_menu_->PopupAtWindowCorner();
  }
}

void CJunctraDlg::ShowErrorList(const std::vector<std::u16string>& errors) {
  CErrorDlg dialog(&errors, this);
  dialog.DoModal();
}

bool CJunctraDlg::BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt) {
  return services_.folders->BrowseForFolder(this, folder, prompt);
}

void CJunctraDlg::ShowMessage(const std::u16string& text, const std::u16string& detail) {
  services_.messages->ShowMessage(this, text, detail);
}

}  // namespace junctra
