// Text for the Win32 calls: their wide strings are UTF-16, as the program's
// texts are.
#pragma once

#include <string>
#include <string_view>

namespace junctra {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string FromWide(std::wstring_view text) { return {text.begin(), text.end()}; }

}  // namespace junctra
