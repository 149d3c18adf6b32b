// Paths on Windows: UTF-16 text already, in which no name holds '"'.
#include "platform/path_ops.h"
#include "platform/text.h"

#include <string>

namespace junctra {

std::u16string PathToUtf16(const std::filesystem::path& path) {
  const std::wstring& text = path.native();
  return std::u16string(text.begin(), text.end());
}

std::filesystem::path Utf16ToPath(std::u16string_view text) {
  return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

std::filesystem::path Utf8ToPath(std::string_view text) { return Utf16ToPath(Utf8ToUtf16(text)); }

std::string PathToUtf8(const std::filesystem::path& path) { return Utf16ToUtf8(PathToUtf16(path)); }

bool CanNameFolder(const std::filesystem::path& argument) {
  return argument.native().find(L'"') == std::wstring::npos;
}

bool IsSystemHelpSwitch(std::string_view argument) { return argument == "/?"; }

}  // namespace junctra
