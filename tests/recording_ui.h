// Stands in for whoever runs the merge command: records what it is shown
// and answers the folder browser from a queue.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/merge_command.h"
#include "tests/conflict_lines.h"

namespace junctra {

// The recording part of an interface that takes the merge command's
// questions: MergeUi, or a dialog's view that has more to show.
template <class Ui>
class Recording : public Ui {
 public:
  Decisions ShowErrorList(const ConflictList& conflicts) override {
    error_lists.push_back(Lines(conflicts));
    shown_conflicts.push_back(conflicts);
    Decisions answer;
    if (!decisions.empty()) {
      answer = decisions.front();
      decisions.pop_front();
    }
    return answer;
  }
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse use) override {
    prompts.push_back(prompt);
    starts.push_back(start);
    uses.push_back(use);
    std::optional<std::filesystem::path> answer;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    if (answer) folder = *answer;
    return answer.has_value();
  }
  bool AskReplace(const std::u16string& question) override {
    questions.push_back(question);
    return replace;
  }
  void ShowMessage(const std::u16string& text, const std::u16string& detail = {}) override {
    messages.push_back(text);
    if (!detail.empty()) messages.push_back(detail);
    details.push_back(detail);
  }

  // Nothing shown: no message and no conflicts.
  bool Silent() const { return messages.empty() && error_lists.empty(); }
  // True when a message line or a conflict contains text.
  bool Mentions(std::u16string_view text) const {
    auto in = [text](const std::vector<std::u16string>& lines) {
      for (const auto& line : lines) {
        if (line.find(text) != std::u16string::npos) return true;
      }
      return false;
    };
    for (const auto& errors : error_lists) {
      if (in(errors)) return true;
    }
    return in(messages);
  }

  // The browser's answers in turn; nullopt, or none left: cancelled.
  std::deque<std::optional<std::filesystem::path>> answers;
  std::vector<std::u16string> prompts;
  std::vector<std::filesystem::path> starts;  // where each browser opened
  std::vector<FolderUse> uses;
  std::vector<std::u16string> questions;  // asked before replacing
  bool replace = true;                    // their answer
  // As batch use prints them: each text, then its detail as a line of its own.
  std::vector<std::u16string> messages;
  std::vector<std::u16string> details;  // one per message, empty when none
  std::vector<std::vector<std::u16string>> error_lists;
  std::vector<ConflictList> shown_conflicts;
  // What each error list answers in turn; none left: no decisions.
  std::deque<Decisions> decisions;
};

using RecordingUi = Recording<MergeUi>;

}  // namespace junctra
