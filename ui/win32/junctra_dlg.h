// The main dialog in Win32: two read-only folder fields, Exit, Select and
// Merge, and the common ancestor's field with its own choose and clear
// buttons, over the shared MainDialogLogic, with About in its system menu.
// Batch use never comes here: start-up runs it.
#pragma once

#include <filesystem>

#include "platform/env.h"
#include "ui/main_dialog_logic.h"
#include "ui/win32/controls.h"
#include "ui/win32/dialog_services.h"
#include "ui/win32/template_dialog.h"

namespace junctra {

class CJunctraDlg : public TemplateDialog, private MainDialogView {
 public:
  explicit CJunctraDlg(HWND owner = nullptr, DialogServices services = DefaultDialogServices(),
                       Env* env = Env::Default());

  // Start-up's folders, shown once the dialog is up; either may be empty.
  void SetFolders(std::filesystem::path first, std::filesystem::path second);
  // Start-up's common ancestor, shown once the dialog is up; empty: none.
  void SetBase(std::filesystem::path base);

  HICON m_hIcon;

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id, int notification) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR* result) override;

 private:
  void ShowAboutBox();
  void OnPaintIconic();
  void ShowPath(int id, const std::filesystem::path& path);

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
  // The folder fields' and the result line's.
  Tooltips tooltips_;
  // The result line's height in the template, the least it keeps.
  int result_height_ = 0;
};

}  // namespace junctra
