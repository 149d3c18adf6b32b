#include "platform/path_ops.h"

namespace junctra {

void EnsureTrailingBackslash(std::filesystem::path& folder) {
  const auto& text = folder.native();
  if (text.empty() || text.back() != '/') folder = std::filesystem::path(text + '/');
}

std::filesystem::path MakeFilePath(const std::filesystem::path& folder, std::string_view name) {
  std::string joined = folder.native();
  joined.append(name);
  return std::filesystem::path(std::move(joined));
}

bool HasTagListFile(const std::filesystem::path& folder, Env* env) {
  return env->EntryExists(MakeFilePath(folder, "tagl.txt"));
}

}  // namespace junctra
