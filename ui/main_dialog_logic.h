// The main dialog's behaviour, written once for every toolkit: the Select
// rules, when Merge is enabled, and the merge command run with the dialog
// as its interface. A toolkit's dialog owns one, forwards its button clicks
// to it and shows what it is told through MainDialogView.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "merge/merge_command.h"
#include "platform/env.h"

namespace junctra {

// What the logic asks of the toolkit's dialog.
class MainDialogView {
 public:
  virtual ~MainDialogView() = default;
  // Shows the two folders in the folder fields.
  virtual void ShowFolders(const std::filesystem::path& first,
                           const std::filesystem::path& second) = 0;
  virtual void EnableMerge(bool enabled) = 0;
  // Shows the line under the folder fields; empty clears it.
  virtual void ShowResult(const std::u16string& text) = 0;
  // The merge command's questions (MergeUi). The folder browser opens in
  // start, or where the toolkit likes when start is empty.
  virtual void ShowErrorList(const ConflictList& conflicts) = 0;
  virtual bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                               const std::filesystem::path& start) = 0;
  virtual void ShowMessage(const std::u16string& text, const std::u16string& detail = {}) = 0;
};

// The folder that holds folder, where a chooser opens so that folder and
// its neighbours are in sight; empty for an empty path. A trailing
// separator does not count: "/data/a/" gives "/data".
std::filesystem::path FolderBeside(const std::filesystem::path& folder);

class MainDialogLogic {
 public:
  MainDialogLogic(MainDialogView& view, Env* env) : view_(view), env_(env) {}

  // Start-up's folders, before the dialog is shown; either may be empty.
  void SetFolders(std::filesystem::path first, std::filesystem::path second);

  // Shows the folders and disables Merge.
  void OnInitDialog();
  // Asks for both folders; on success shows them, clears the result line
  // and enables Merge for good. Every failure leaves everything as it was.
  // The first chooser opens beside the first folder shown, the second
  // beside the first choice.
  void OnSelect();
  // Runs the merge command on the two folders; the output folder is asked
  // for, in a chooser that opens beside the second folder. Nothing happens
  // before a successful Select. A merge that writes
  // shows its result line; any other outcome clears it.
  void OnMerge();

  const std::filesystem::path& first_folder() const { return first_; }
  const std::filesystem::path& second_folder() const { return second_; }
  bool merge_enabled() const { return merge_enabled_; }

 private:
  void EnableMerge(bool enabled);

  MainDialogView& view_;
  Env* env_;
  std::filesystem::path first_;
  std::filesystem::path second_;
  bool merge_enabled_ = false;
};

}  // namespace junctra
