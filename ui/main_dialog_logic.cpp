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

void MainDialogLogic::OnSelect() {
  const std::u16string first_prompt = LoadResourceString(IDS_SELECT_FIRST);
  const std::u16string second_prompt = LoadResourceString(IDS_SELECT_SECOND);

  std::filesystem::path first;
  if (!view_.BrowseForFolder(first, first_prompt, FolderBeside(first_))) return;
  // The second database usually lies beside the first.
  std::filesystem::path second;
  if (!view_.BrowseForFolder(second, second_prompt, FolderBeside(first))) return;

  // Compared as the browser gave them, before any separator is added.
  if (first.native() == second.native()) {
    view_.ShowMessage(LoadResourceString(IDS_SELECT_DIFFERENT));
    return;
  }
  if (first.empty() || second.empty()) return;
  EnsureTrailingBackslash(first);
  if (!CheckDatabaseFolder(first, IDS_FIRST_NO_DATABASE, view_, CurrentResourceModule(), env_)) {
    return;
  }
  EnsureTrailingBackslash(second);
  if (!CheckDatabaseFolder(second, IDS_SECOND_NO_DATABASE, view_, CurrentResourceModule(), env_)) {
    return;
  }

  first_ = std::move(first);
  second_ = std::move(second);
  view_.ShowFolders(first_, second_);
  view_.ShowResult({});
  EnableMerge(true);
}

void MainDialogLogic::OnSelectBase() {
  std::filesystem::path base;
  if (!view_.BrowseForFolder(base, LoadResourceString(IDS_SELECT_BASE),
                             FolderBeside(base_.empty() ? first_ : base_)) ||
      base.empty()) {
    return;
  }
  EnsureTrailingBackslash(base);
  if (!CheckDatabaseFolder(base, IDS_BASE_NO_DATABASE, view_, CurrentResourceModule(), env_)) {
    return;
  }
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
