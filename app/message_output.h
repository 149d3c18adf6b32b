// Where batch use puts its texts: standard error and standard output; or,
// in a program that cannot print (Env::CanPrintMessages: junctra.exe started
// from a shortcut, Explorer or the task scheduler), one message box with
// all of them once the run is over.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace junctra {

class MessageOutput {
 public:
  explicit MessageOutput(Env* env) : env_(env), collect_(!env->CanPrintMessages()) {}

  void Error(std::u16string_view text);
  void Output(std::u16string_view text);
  // Shows what was collected, if anything, and forgets it.
  void ShowCollected();

 private:
  Env* env_;
  bool collect_;
  std::u16string collected_;
};

}  // namespace junctra
