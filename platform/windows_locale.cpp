#include <windows.h>

#include "platform/locale.h"

namespace junctra {

// The user's setting itself; Windows has no locale variables to read.
std::uint32_t GetUserDefaultLCID(Env*) { return ::GetUserDefaultLCID(); }

}  // namespace junctra
