// The main dialog's behaviour, written once for every toolkit: the Select
// rules, the optional common ancestor, when Merge is enabled, and the merge
// command run with the dialog as its interface. A toolkit's dialog owns
// one, forwards its button clicks to it and shows what it is told through
// MainDialogView.
#pragma once

#include <filesystem>
#include <string>

#include "merge/merge_command.h"
#include "platform/env.h"

namespace junctra {

// What the logic asks of the toolkit's dialog: the merge command's
// questions (MergeUi), and the fields and the button of its own.
class MainDialogView : public MergeUi {
 public:
  // Shows the two folders in the folder fields.
  virtual void ShowFolders(const std::filesystem::path& first,
                           const std::filesystem::path& second) = 0;
  // Shows the common ancestor's folder in its field; empty clears it.
  virtual void ShowBase(const std::filesystem::path& base) = 0;
  virtual void EnableMerge(bool enabled) = 0;
  // Shows the line under the folder fields; empty clears it.
  virtual void ShowResult(const std::u16string& text) = 0;
  // Puts the keyboard focus on Merge.
  virtual void FocusMerge() = 0;
};

class MainDialogLogic {
 public:
  MainDialogLogic(MainDialogView& view, Env* env) : view_(view), env_(env) {}

  // Start-up's folders, before the dialog is shown; either may be empty.
  void SetFolders(std::filesystem::path first, std::filesystem::path second);
  // Start-up's common ancestor, shown as given; empty: none.
  void SetBase(std::filesystem::path base);

  // Shows the folders and disables Merge.
  void OnInitDialog();
  // Asks for both folders, each checked as it is chosen: a folder without
  // a tag list (the message says which and why), or the first chosen
  // again, is asked for again. On success shows them, clears the result
  // line, enables Merge for good and focuses it. A cancelled chooser leaves
  // everything as it was. The first chooser opens beside the first folder
  // shown, the second beside the first choice.
  void OnSelect();
  // Asks for the common ancestor's folder as Select asks for each, opening
  // beside the one shown (else beside the first folder); on success shows
  // it and clears the result line. Cancelled, it keeps the folder shown.
  void OnSelectBase();
  // Drops the common ancestor: the next merge is two-way.
  void OnClearBase();
  // Runs the merge command on the two folders, against the common ancestor
  // when one is shown, with the view as its interface: it asks for the
  // output folder. Nothing happens before a successful Select. A merge that
  // writes shows its result line; any other outcome clears it.
  void OnMerge();

  const std::filesystem::path& first_folder() const { return first_; }
  const std::filesystem::path& second_folder() const { return second_; }
  const std::filesystem::path& base_folder() const { return base_; }
  bool merge_enabled() const { return merge_enabled_; }

 private:
  void EnableMerge(bool enabled);
  // Asks for a database folder, opening in start, until the user chooses
  // one that holds a tag list and is not other, or cancels (false). A
  // folder without one shows message missing with the reason.
  bool ChooseDatabase(std::filesystem::path& folder, unsigned prompt, unsigned missing,
                      std::filesystem::path start, const std::filesystem::path& other);

  MainDialogView& view_;
  Env* env_;
  std::filesystem::path first_;
  std::filesystem::path second_;
  std::filesystem::path base_;  // never written anywhere: it lasts as long as the dialog
  bool merge_enabled_ = false;
};

}  // namespace junctra
