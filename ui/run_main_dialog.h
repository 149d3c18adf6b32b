// The dialogs' entry for start-up, the same for every toolkit.
#pragma once

#include <filesystem>
#include <string>

namespace junctra {

// Runs the main dialog modally, its first folder field showing first, and
// returns the dialog result (ui/dialog_result.h): kDialogOk (Exit),
// kDialogCancel, -1 when the dialog cannot be created (Win32: with one line
// on standard error). Where Qt can open no display it prints one line on
// standard error and returns 0.
// culture is the loaded satellite's (empty: built-in texts); on Linux Qt's
// own texts, in the folder chooser and the menus, follow it. base, when
// given, is shown as the common ancestor's folder.
int RunMainDialog(int& argc, char** argv, const std::filesystem::path& first,
                  const std::u16string& culture = {}, const std::filesystem::path& base = {});

}  // namespace junctra
