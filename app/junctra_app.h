// The application object: start-up, the batch merge or the run of the main
// dialog, and the exit code.
#pragma once

#include <filesystem>
#include <string>

#include "app/language.h"
#include "app/message_output.h"
#include "platform/env.h"

namespace junctra {

// Runs the main dialog modally, its first folder field showing first and
// its common ancestor's field base (either may be empty), and returns its
// result (ui/dialog_result.h): kDialogOk (Exit) or kDialogCancel; any other
// value when the dialog cannot be created. culture names the language of the
// loaded satellite, so that the toolkit's own texts can follow it; empty
// when the built-in texts are used. Supplied by the dialogs, which start-up
// cannot see.
using MainDialogRunner = int (*)(int& argc, char** argv, const std::filesystem::path& first,
                                 const std::u16string& culture, const std::filesystem::path& base);

class CJunctraApp {
 public:
  explicit CJunctraApp(Env* env = Env::Default()) : env_(env) {}

  // Runs the whole program and returns the process exit code: 0 when a
  // batch merge succeeded (a dry run: would write), the dialog was left with
  // Exit, or help or the version was printed; 2 on a wrong use of an option
  // or when an argument can name no folder (CanNameFolder); 1 otherwise. Without a
  // dialog runner, interactive use is refused. A failed allocation that
  // nothing else reports ends it with a message on standard error and 1.
  // Where the program cannot print (Env::CanPrintMessages), every text of
  // the run shows in one message box at its end instead.
  int InitInstance(int argc, char** argv, MainDialogRunner run_dialog = nullptr);

  // The resource module in use: null outside InitInstance.
  ModuleHandle m_hLangResourceDLL;

 private:
  int Run(int argc, char** argv, MainDialogRunner run_dialog, MessageOutput& output);

  Env* env_;
};

extern CJunctraApp theApp;

}  // namespace junctra
