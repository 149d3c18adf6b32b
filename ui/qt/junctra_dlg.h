// The main dialog in Qt: two read-only folder fields, Exit, Select and
// Merge, and the common ancestor's field with its own choose and clear
// buttons, over the shared MainDialogLogic. Start-up may fill the first
// folder field and the common ancestor's. Batch use never comes here:
// start-up runs it.
#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>
#include <filesystem>
#include <memory>

#include "platform/env.h"
#include "ui/main_dialog_logic.h"
#include "ui/qt/dialog_services.h"
#include "ui/qt/template_dialog.h"
#include "ui/qt/window_menu.h"

namespace junctra {

class CJunctraDlg : public TemplateDialog, private MainDialogView {
 public:
  explicit CJunctraDlg(QWidget* parent = nullptr, DialogServices services = DefaultDialogServices(),
                       Env* env = Env::Default());
  ~CJunctraDlg() override;

  // Start-up's folders, shown once the dialog is up; either may be empty.
  void SetFolders(std::filesystem::path first, std::filesystem::path second);
  // Start-up's common ancestor, shown once the dialog is up; empty: none.
  void SetBase(std::filesystem::path base);

  QPushButton* m_btnMerge = nullptr;
  QString m_strFirstFolder;
  QString m_strSecondFolder;
  QString m_strBaseFolder;
  QIcon m_hIcon;

  WindowMenu& window_menu() { return *window_menu_; }

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  void OnSysCommand(unsigned id);

  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Moves the fields' carets to their ends and makes their paths tooltips.
  void ShowPathEnds();

  // MainDialogView
  void ShowFolders(const std::filesystem::path& first,
                   const std::filesystem::path& second) override;
  void ShowBase(const std::filesystem::path& base) override;
  void EnableMerge(bool enabled) override;
  void ShowResult(const std::u16string& text) override;
  void FocusMerge() override;
  Decisions ShowErrorList(const ConflictList& conflicts) override;
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse use) override;
  bool AskReplace(const std::u16string& question) override;
  void ShowMessage(const std::u16string& text, const std::u16string& detail = {}) override;

  DialogServices services_;
  MainDialogLogic logic_;
  std::unique_ptr<WindowMenu> window_menu_;
  bool about_entry_added_ = false;
};

}  // namespace junctra
