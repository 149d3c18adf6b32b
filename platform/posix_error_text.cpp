// Error texts on POSIX: the C library's own.
#include "platform/error_text.h"

#include <string.h>

namespace junctra {

std::string ErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r: returns the text, which need not be in buffer.
  return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace junctra
