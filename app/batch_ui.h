// The merge command's caller in batch use: no window, every reason for a
// failure explained on standard error, one message per line.
#pragma once

#include "app/message_output.h"
#include "merge/merge_command.h"

namespace junctra {

class BatchUi : public MergeUi {
 public:
  // Texts come from strings; they go to output's standard error.
  BatchUi(const ResourceModule& strings, MessageOutput& output)
      : strings_(strings), output_(output) {}

  // The heading of the error list, then every line, each followed by its
  // detail indented by two spaces.
  // Decides nothing.
  Decisions ShowErrorList(const ConflictList& conflicts) override;
  // Never asked: batch use always has an output folder, and replaces
  // what is there without asking.
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse use) override;
  bool AskReplace(const std::u16string& question) override;
  // The text, then the detail on a line of its own.
  void ShowMessage(const std::u16string& text, const std::u16string& detail = {}) override;

 private:
  void PrintLine(const std::u16string& text);

  const ResourceModule& strings_;
  MessageOutput& output_;
};

}  // namespace junctra
