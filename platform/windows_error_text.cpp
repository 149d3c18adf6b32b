// Error texts on Windows: the system's own, in the user's language, for
// the Windows error behind an errno value, or for the one that usually
// gives it; the C runtime's, worded as on POSIX, for the reasons the
// program finds itself (a folder where a file should be, a file that
// changed while read, memory).
#include "platform/error_text.h"

#include <string.h>

#include <windows.h>

#include <cerrno>
#include <string>

#include "platform/text.h"
#include "platform/windows_error.h"

namespace junctra {
namespace {

// The Windows error that an errno value of the file system stands for.
DWORD UsualWin32Error(int error) {
  switch (error) {
    case EACCES:
      return ERROR_ACCESS_DENIED;
    case EWOULDBLOCK:  // another program has the file open
      return ERROR_SHARING_VIOLATION;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case EMFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    default:
      return 0;
  }
}

// The system's message for a Windows error in the user's language, one
// line; empty when it has none.
std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::u16string text;
  if (length != 0 && buffer != nullptr) {
    text.assign(reinterpret_cast<const char16_t*>(buffer), length);
  }
  ::LocalFree(buffer);
  // It ends with a line end, and a long one may hold more.
  for (char16_t& c : text) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  return Utf16ToUtf8(Trim(text));
}

}  // namespace

std::string ErrorText(int error) {
  DWORD code = Win32ErrorBehind(error);
  if (code == 0) code = UsualWin32Error(error);
  if (code != 0) {
    std::string text = SystemMessage(code);
    if (!text.empty()) return text;
  }
  // The C runtime knows no text for the POSIX codes it added later, and
  // words these two so that they say nothing of what happened.
  switch (error) {
    case ENOMEM:
      return "Cannot allocate memory";
    case EBUSY:
      return "Device or resource busy";
    case EWOULDBLOCK:
      return "Resource temporarily unavailable";
    case ELOOP:
      return "Too many levels of symbolic links";
    case EOPNOTSUPP:
      return "Operation not supported";
  }
  char buffer[256];
  if (::strerror_s(buffer, sizeof buffer, error) != 0) return "Unknown error";
  return buffer;
}

}  // namespace junctra
