#include "tests/system_reason.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace junctra {

#ifdef _WIN32
std::u16string SystemReason(const char16_t*, WindowsError windows) {
  wchar_t text[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, windows, 0, text, 512, nullptr);
  std::u16string reason(text, text + length);
  for (char16_t& c : reason) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  while (!reason.empty() && reason.back() == u' ') reason.pop_back();
  return reason;
}
#else
std::u16string SystemReason(const char16_t* posix, WindowsError) { return posix; }
#endif

}  // namespace junctra
