// The results a modal dialog ends with, the same for every toolkit: the IDs
// that dialog templates give their OK and Cancel buttons, as Windows
// numbers them. Start-up turns the main dialog's into the exit code.
#pragma once

namespace junctra {

enum DialogResult : int {
  kDialogOk = 1,      // OK, the main dialog's Exit, Return
  kDialogCancel = 2,  // Cancel, Escape, the close button
};

// The exit code after the main dialog: 0 when it was left with Exit, 1 for
// any other result (cancelled, or the dialog could not run).
constexpr int DialogExitCode(int result) { return result == kDialogOk ? 0 : 1; }

}  // namespace junctra
