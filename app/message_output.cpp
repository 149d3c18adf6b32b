#include "app/message_output.h"

namespace junctra {

void MessageOutput::Error(std::u16string_view text) {
  if (collect_) {
    collected_ += text;
  } else {
    WriteStandardError(text);
  }
}

void MessageOutput::Output(std::u16string_view text) {
  if (collect_) {
    collected_ += text;
  } else {
    WriteStandardOutput(text);
  }
}

void MessageOutput::ShowCollected() {
  if (collected_.empty()) return;
  // The last line's end would show as an empty line.
  if (collected_.back() == u'\n') collected_.pop_back();
  env_->ShowMessageWindow(collected_);
  collected_.clear();
}

}  // namespace junctra
