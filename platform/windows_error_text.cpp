// Error texts on Windows: the C runtime's, worded as on POSIX where it has
// none or says nothing.
#include "platform/error_text.h"

#include <string.h>

#include <cerrno>

namespace junctra {

std::string ErrorText(int error) {
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
