// The reason a message gives after a path when a file operation failed:
// the C library's text on POSIX; on Windows the system's own message, in
// the user's language, for the Windows error behind the failure.
#pragma once

#include <string>

namespace junctra {

// The Windows errors of the failures the tests make.
enum WindowsError : unsigned long {
  kFileNotFound = 2,
  kPathNotFound = 3,
  kAccessDenied = 5,
  kWriteProtect = 19,
  kSharingViolation = 32,
};

std::u16string SystemReason(const char16_t* posix, WindowsError windows);

}  // namespace junctra
