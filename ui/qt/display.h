// Whether Qt can open a window before it is asked to.
#pragma once

#include <string>

namespace junctra {

// Whether the Qt platform the process would use has a display to work on;
// otherwise why not.
bool DisplayLooksAvailable(std::string* reason);

}  // namespace junctra
