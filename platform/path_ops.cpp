#include "platform/path_ops.h"

#include "platform/text.h"

namespace junctra {
namespace {

#ifdef _WIN32
constexpr auto kSeparator = L'\\';
// Windows takes "/" for a separator as well.
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
#else
constexpr char kSeparator = '/';
bool IsSeparator(char c) { return c == '/'; }
#endif

}  // namespace

void EnsureTrailingBackslash(std::filesystem::path& folder) {
  // "D:" plus a separator would be the drive's root, not its current folder.
  if (folder.has_root_name() && !folder.has_root_directory()) folder = ResolveDriveRelative(folder);
  const auto& text = folder.native();
  if (text.empty() || !IsSeparator(text.back())) folder = std::filesystem::path(text + kSeparator);
}

std::filesystem::path MakeFilePath(const std::filesystem::path& folder, std::string_view name) {
  auto joined = folder.native();
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(name);
  joined.append(wide.begin(), wide.end());
#else
  joined.append(name);
#endif
  return std::filesystem::path(std::move(joined));
}

bool SplitFileName(const std::filesystem::path& path, std::filesystem::path* folder,
                   std::string* name) {
  const auto& text = path.native();
  std::size_t end = text.size();
  while (end > 0 && !IsSeparator(text[end - 1])) --end;
  if (end == 0) return false;
  *folder = std::filesystem::path(text.substr(0, end));
#ifdef _WIN32
  *name = Utf16ToUtf8(PathToUtf16(std::filesystem::path(text.substr(end))));
#else
  *name = text.substr(end);  // the bytes as they are
#endif
  return true;
}

bool CanNameFolder(const std::filesystem::path& argument) {
#ifdef _WIN32
  return argument.native().find(L'"') == std::wstring::npos;
#else
  (void)argument;
  return true;
#endif
}

bool HasTagListFile(const std::filesystem::path& folder, Env* env) {
  return env->EntryExists(MakeFilePath(folder, "tagl.txt"));
}

}  // namespace junctra
