// The main dialog: two read-only folder fields, Exit, Select and Merge.
// Start-up may fill the first folder field; Merge is enabled once Select has
// chosen both folders. Batch use never comes here: start-up runs it.
#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>
#include <memory>

#include "merge/merge_command.h"
#include "platform/env.h"
#include "ui/dialog_services.h"
#include "ui/template_dialog.h"
#include "ui/window_menu.h"

namespace junctra {

class CJunctraDlg : public TemplateDialog, private MergeUi {
 public:
  // Command ID of the About entry of the window menu.
  static constexpr unsigned IDM_ABOUTBOX = 0x0010;

  explicit CJunctraDlg(QWidget* parent = nullptr, DialogServices services = DefaultDialogServices(),
                       Env* env = Env::Default());
  ~CJunctraDlg() override;

  QPushButton* m_btnMerge = nullptr;
  QString m_strFirstFolder;
  QString m_strSecondFolder;
  QIcon m_hIcon;

  WindowMenu& window_menu() { return *window_menu_; }

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  void OnSysCommand(unsigned id);
  void OnSelect();
  // The merge command with this dialog as its interface.
  void OnMerge();

  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // MergeUi
  void ShowErrorList(const std::vector<std::u16string>& errors) override;
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt) override;
  void ShowMessage(const std::u16string& text, const std::u16string& detail = {}) override;

  DialogServices services_;
  Env* env_;
  std::unique_ptr<WindowMenu> window_menu_;
  bool about_entry_added_ = false;
};

}  // namespace junctra
