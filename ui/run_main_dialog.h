// The dialogs' entry for start-up.
#pragma once

#include <filesystem>
#include <string>

namespace junctra {

// Creates the application's Qt object, runs the main dialog modally with
// its first folder field showing first, and returns the dialog result: 1
// (Exit), 2 (cancelled), -1 when the dialog cannot be created. When no
// display can be opened it prints one line on standard error and returns 0.
int RunMainDialog(int& argc, char** argv, const std::filesystem::path& first);

// Whether the Qt platform the process would use has a display to work on;
// otherwise why not.
bool DisplayLooksAvailable(std::string* reason);

}  // namespace junctra
