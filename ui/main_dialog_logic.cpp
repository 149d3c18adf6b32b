#include "ui/main_dialog_logic.h"

#include <utility>

#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "ui/result_line.h"

namespace junctra {

void MainDialogLogic::SetFolders(std::filesystem::path first, std::filesystem::path second) {
  first_ = std::move(first);
  second_ = std::move(second);
}

void MainDialogLogic::SetBase(std::filesystem::path base) { base_ = std::move(base); }

void MainDialogLogic::OnInitDialog() {
  view_.ShowFolders(first_, second_);
  view_.ShowBase(base_);
  EnableMerge(false);
}

bool MainDialogLogic::ChooseDatabase(std::filesystem::path& folder, unsigned prompt,
                                     unsigned missing, std::filesystem::path start,
                                     const std::filesystem::path& other) {
  const std::u16string text = LoadResourceString(prompt);
  for (;;) {
    std::filesystem::path chosen;
    if (!view_.BrowseForFolder(chosen, text, start, FolderUse::kRead) || chosen.empty()) {
      return false;
    }
    start = chosen;  // asked again, the chooser opens where the user was
    // Compared as the browser gave them, before any separator is added.
    if (!other.empty() && chosen.native() == other.native()) {
      view_.ShowMessage(LoadResourceString(IDS_SELECT_DIFFERENT));
      continue;
    }
    std::filesystem::path checked = chosen;
    EnsureTrailingBackslash(checked);
    if (CheckDatabaseFolder(checked, missing, view_, CurrentResourceModule(), env_)) {
      folder = std::move(chosen);
      return true;
    }
  }
}

void MainDialogLogic::OnSelect() {
  std::filesystem::path first;
  if (!ChooseDatabase(first, IDS_SELECT_FIRST, IDS_FIRST_NO_DATABASE, FolderBeside(first_), {})) {
    return;
  }
  // The second database usually lies beside the first.
  std::filesystem::path second;
  if (!ChooseDatabase(second, IDS_SELECT_SECOND, IDS_SECOND_NO_DATABASE, FolderBeside(first),
                      first)) {
    return;
  }
  EnsureTrailingBackslash(first);
  EnsureTrailingBackslash(second);
  first_ = std::move(first);
  second_ = std::move(second);
  view_.ShowFolders(first_, second_);
  view_.ShowResult({});
  EnableMerge(true);
  // Return now merges; Exit stays the default button.
  view_.FocusMerge();
}

void MainDialogLogic::OnSelectBase() {
  std::filesystem::path base;
  if (!ChooseDatabase(base, IDS_SELECT_BASE, IDS_BASE_NO_DATABASE,
                      FolderBeside(base_.empty() ? first_ : base_), {})) {
    return;
  }
  EnsureTrailingBackslash(base);
  base_ = std::move(base);
  view_.ShowBase(base_);
  view_.ShowResult({});
}

void MainDialogLogic::OnClearBase() {
  if (base_.empty()) return;
  base_.clear();
  view_.ShowBase(base_);
  view_.ShowResult({});
}

void MainDialogLogic::OnMerge() {
  if (!merge_enabled_ || first_.empty() || second_.empty()) return;
  // No output folder: the merge asks for one.
  MergeFolders folders{first_, second_, {}, base_};
  view_.ShowResult({});
  MergeSummary summary;
  RunMergeCommand(folders, view_, CurrentResourceModule(), env_, &summary);
  if (summary.written) view_.ShowResult(ResultLine(summary, CurrentResourceModule()));
}

void MainDialogLogic::EnableMerge(bool enabled) {
  merge_enabled_ = enabled;
  view_.EnableMerge(enabled);
}

}  // namespace junctra
