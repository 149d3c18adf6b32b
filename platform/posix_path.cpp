// Paths on POSIX: bytes, taken as UTF-8 where they are shown; any name can
// be a folder's.
#include "platform/path_ops.h"
#include "platform/text.h"

#include <string>

namespace junctra {

std::u16string PathToUtf16(const std::filesystem::path& path) { return Utf8ToUtf16(path.native()); }

std::filesystem::path Utf16ToPath(std::u16string_view text) {
  return std::filesystem::path(Utf16ToUtf8(text));
}

std::filesystem::path Utf8ToPath(std::string_view text) { return std::filesystem::path(text); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.native(); }

bool CanNameFolder(const std::filesystem::path&) { return true; }

bool IsSystemHelpSwitch(std::string_view) { return false; }

}  // namespace junctra
