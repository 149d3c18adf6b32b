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
// The folder that holds folder, where a chooser opens so that folder and
// its neighbours are in sight; empty for an empty path. A trailing
// separator does not count: "/data/a/" gives "/data".
std::filesystem::path FolderBeside(const std::filesystem::path& folder);
// False for a command-line argument that names no folder on this system: on
// Windows one holding '"', which no file name can hold (a quoted trailing
// backslash, "D:\a\", leaves one behind). On POSIX any name can.
bool CanNameFolder(const std::filesystem::path& argument);
// True for the argument that asks this system's programs for help: "/?" on
// Windows. None on POSIX, where "/?" names a folder. argument is UTF-8.
bool IsSystemHelpSwitch(std::string_view argument);
// An entry named exactly "tagl.txt" (file or folder) exists in the folder,
// which ends in a separator.
// A database file of a folder, found as Windows finds it: the entry of
// exactly that name, else the one entry whose name equals it with A to Z
// taken as a to z.
struct FoundFile {
  std::filesystem::path path;  // the entry found; folder and name when none is
  int error = 0;               // 0 when found, else why not (ENOENT, EACCES, ...)
  bool ambiguous = false;      // no exact name but two or more case variants
  bool found() const { return error == 0 && !ambiguous; }
};
// folder ends in a separator; name is UTF-8 ASCII.
FoundFile FindDatabaseFile(const std::filesystem::path& folder, std::string_view name,
                           Env* env = Env::Default());
// An entry (file or folder) that FindDatabaseFile takes for "tagl.txt"
// exists in the folder, which ends in a separator. With found, it receives
// the entry or why there is none.
bool HasTagListFile(const std::filesystem::path& folder, Env* env = Env::Default(),
                    FoundFile* found = nullptr);

}  // namespace junctra
