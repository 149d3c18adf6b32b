// The system's description of an error number, for messages that say why
// an operation failed.
#pragma once

#include <string>

namespace junctra {

// "Permission denied" for EACCES; UTF-8.
std::string ErrorText(int error);

}  // namespace junctra
