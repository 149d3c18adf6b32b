// Path operations shared by start-up, the main dialog and the merge command.
// Folder paths end in this platform's separator before a file name is joined
// to them: "/" on POSIX, where a backslash is an ordinary character, and "\"
// on Windows, which takes "/" as a separator too.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/env.h"

namespace junctra {

// Appends the separator unless the path already ends in one; a path
// relative to a drive's current folder becomes its full path first
// (ResolveDriveRelative). Callers never pass an empty path.
void EnsureTrailingBackslash(std::filesystem::path& folder);
// The folder immediately followed by the file name; nothing is inserted.
// name is UTF-8.
std::filesystem::path MakeFilePath(const std::filesystem::path& folder, std::string_view name);
// Splits path after its last separator: the folder, ending in it, and the
// file name (UTF-8). False when path holds no separator.
bool SplitFileName(const std::filesystem::path& path, std::filesystem::path* folder,
                   std::string* name);
// False for a command-line argument that names no folder on this system: on
// Windows one holding '"', which no file name can hold (a quoted trailing
// backslash, "D:\a\", leaves one behind). On POSIX any name can.
bool CanNameFolder(const std::filesystem::path& argument);
// An entry named exactly "tagl.txt" (file or folder) exists in the folder,
// which ends in a separator.
bool HasTagListFile(const std::filesystem::path& folder, Env* env = Env::Default());

}  // namespace junctra
