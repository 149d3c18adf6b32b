#include "ui/main_dialog_logic.h"

#include <utility>

#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "ui/result_line.h"

namespace junctra {
namespace {

// The merge command's questions, put to the view; its output folder chooser
// opens in start.
class MergeQuestions : public MergeUi {
 public:
  MergeQuestions(MainDialogView& view, std::filesystem::path start)
      : view_(view), start_(std::move(start)) {}

  void ShowErrorList(const ConflictList& conflicts) override { view_.ShowErrorList(conflicts); }
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt) override {
    return view_.BrowseForFolder(folder, prompt, start_);
  }
  void ShowMessage(const std::u16string& text, const std::u16string& detail) override {
    view_.ShowMessage(text, detail);
  }

 private:
  MainDialogView& view_;
  std::filesystem::path start_;
};

}  // namespace

std::filesystem::path FolderBeside(const std::filesystem::path& folder) {
  std::filesystem::path path = folder;
  // "/data/a/" has an empty last element, whose parent is "/data/a" itself.
  while (!path.empty() && !path.has_filename() && path.has_relative_path()) {
    path = path.parent_path();
  }
  return path.has_relative_path() ? path.parent_path() : path;
}

void MainDialogLogic::SetFolders(std::filesystem::path first, std::filesystem::path second) {
  first_ = std::move(first);
  second_ = std::move(second);
}

void MainDialogLogic::OnInitDialog() {
  view_.ShowFolders(first_, second_);
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
  MergeQuestions messages(view_, {});
  EnsureTrailingBackslash(first);
  if (!CheckDatabaseFolder(first, IDS_FIRST_NO_DATABASE, messages, CurrentResourceModule(), env_)) {
    return;
  }
  EnsureTrailingBackslash(second);
  if (!CheckDatabaseFolder(second, IDS_SECOND_NO_DATABASE, messages, CurrentResourceModule(),
                           env_)) {
    return;
  }

  first_ = std::move(first);
  second_ = std::move(second);
  view_.ShowFolders(first_, second_);
  view_.ShowResult({});
  EnableMerge(true);
}

void MainDialogLogic::OnMerge() {
  if (!merge_enabled_ || first_.empty() || second_.empty()) return;
  // No output folder: the merge asks for one.
  MergeFolders folders{first_, second_, {}};
  view_.ShowResult({});
  MergeSummary summary;
  MergeQuestions questions(view_, FolderBeside(second_));
  RunMergeCommand(folders, questions, CurrentResourceModule(), env_, &summary);
  if (summary.written) view_.ShowResult(ResultLine(summary, CurrentResourceModule()));
}

void MainDialogLogic::EnableMerge(bool enabled) {
  merge_enabled_ = enabled;
  view_.EnableMerge(enabled);
}

}  // namespace junctra
