#include "app/batch_ui.h"

#include "merge/conflict_detail.h"
#include "platform/env.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {
Decisions BatchUi::ShowErrorList(const ConflictList& conflicts) {
  PrintLine(strings_.LoadString(IDS_CONFLICTS_HEADING));
  for (const std::u16string& line : ConflictReportLines(conflicts, strings_)) {
    PrintLine(line);
  }
  return {};
}

bool BatchUi::BrowseForFolder(std::filesystem::path&, const std::u16string&,
                              const std::filesystem::path&, FolderUse) {
  return false;
}

bool BatchUi::AskReplace(const std::u16string&) { return true; }

void BatchUi::ShowMessage(const std::u16string& text, const std::u16string& detail) {
  PrintLine(text);
  if (!detail.empty()) PrintLine(detail);
}

void BatchUi::PrintLine(const std::u16string& text) {
  // Names and paths come from files and the command line: control
  // characters in them must not reach the terminal.
  std::u16string shown = MaskControls(text);
  shown.push_back(u'\n');
  output_.Error(shown);
}

}  // namespace junctra
