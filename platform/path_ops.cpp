#include "platform/path_ops.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/text.h"

namespace junctra {
namespace {

constexpr auto kSeparator = std::filesystem::path::preferred_separator;
// Windows takes "/" for a separator as well.
bool IsSeparator(std::filesystem::path::value_type c) { return c == kSeparator || c == '/'; }

}  // namespace

void EnsureTrailingBackslash(std::filesystem::path& folder) {
  // "D:" plus a separator would be the drive's root, not its current folder.
  if (folder.has_root_name() && !folder.has_root_directory()) folder = ResolveDriveRelative(folder);
  const auto& text = folder.native();
  if (text.empty() || !IsSeparator(text.back())) folder = std::filesystem::path(text + kSeparator);
}

std::filesystem::path MakeFilePath(const std::filesystem::path& folder, std::string_view name) {
  return std::filesystem::path(folder.native() + Utf8ToPath(name).native());
}

bool SplitFileName(const std::filesystem::path& path, std::filesystem::path* folder,
                   std::string* name) {
  const auto& text = path.native();
  std::size_t end = text.size();
  while (end > 0 && !IsSeparator(text[end - 1])) --end;
  if (end == 0) return false;
  *folder = std::filesystem::path(text.substr(0, end));
  *name = PathToUtf8(std::filesystem::path(text.substr(end)));
  return true;
}

std::filesystem::path FolderBeside(const std::filesystem::path& folder) {
  std::filesystem::path path = folder;
  // "/data/a/" has an empty last element, whose parent is "/data/a" itself.
  while (!path.empty() && !path.has_filename() && path.has_relative_path()) {
    path = path.parent_path();
  }
  return path.has_relative_path() ? path.parent_path() : path;
}

FoundFile FindDatabaseFile(const std::filesystem::path& folder, std::string_view name, Env* env) {
  FoundFile result{MakeFilePath(folder, name)};
  FileStatus status;
  // Only a miss asks why: a folder without its search bit, a file in place
  // of the folder, or no such entry, when another spelling may be there.
  if (!env->EntryExists(result.path)) result.error = env->StatEntry(result.path, &status);
  if (result.error != 0 && result.error != ENOENT) return result;
  // Where names match without regard to case, the exact name finds a case
  // variant: the listing gives its spelling.
  std::vector<std::string> names;
  if (env->ListFolder(folder, &names) != 0) return result;
  const auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  const std::string* variant = nullptr;
  std::size_t variants = 0;
  for (const std::string& entry : names) {
    if (entry == name) return result;
    if (entry.size() == name.size() &&
        std::equal(entry.begin(), entry.end(), name.begin(),
                   [&](char a, char b) { return folded(a) == folded(b); })) {
      variant = &entry;
      ++variants;
    }
  }
  if (variants > 1 && result.error != 0) {
    result.ambiguous = true;
  } else if (variants == 1) {
    result.path = MakeFilePath(folder, *variant);
    result.error = env->EntryExists(result.path) ? 0 : env->StatEntry(result.path, &status);
  }
  return result;
}

bool HasTagListFile(const std::filesystem::path& folder, Env* env, FoundFile* found) {
  FoundFile local;
  FoundFile& file = found != nullptr ? *found : local;
  file = FindDatabaseFile(folder, "tagl.txt", env);
  return file.found();
}

}  // namespace junctra
