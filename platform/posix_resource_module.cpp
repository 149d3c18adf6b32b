// Resource modules on POSIX: there is no system resource format, so every
// module, the built-in one included, is a table.
#include "platform/resource_module.h"

namespace junctra {

const std::string_view kSatelliteSuffix = "-mui.so";

const ResourceModule& ResourceModule::BuiltIn() {
  static const ResourceModule module(JunctraBuiltInResources());
  return module;
}

std::optional<std::u16string> ResourceModule::NativeString(void*, unsigned) { return std::nullopt; }

bool ResourceModule::HasNativeStrings(void*) { return false; }

}  // namespace junctra
