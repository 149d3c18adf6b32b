// Path operations shared by start-up, the main dialog and the merge command.
// Folder paths end in this platform's separator "/" before a file name is
// joined to them; a backslash is an ordinary character here.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/env.h"

namespace junctra {

// Appends "/" unless the path already ends in one. Callers never pass an
// empty path.
void EnsureTrailingBackslash(std::filesystem::path& folder);
// The folder immediately followed by the file name; nothing is inserted.
std::filesystem::path MakeFilePath(const std::filesystem::path& folder, std::string_view name);
// An entry named exactly "tagl.txt" (file or folder) exists in the folder,
// which ends in "/".
bool HasTagListFile(const std::filesystem::path& folder, Env* env = Env::Default());

}  // namespace junctra
