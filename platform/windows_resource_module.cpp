// Resource modules on Windows: the program's own resources and those of a
// satellite DLL loaded as data, read with the system's resource calls.

// Before <windows.h>: its macros would rename ResourceModule::LoadString in
// the declarations.
#include "platform/resource_module.h"

#include <windows.h>

namespace junctra {

const std::string_view kSatelliteSuffix = "-mui.dll";

const ResourceModule& ResourceModule::BuiltIn() {
  static const ResourceModule module = Native(::GetModuleHandleW(nullptr));
  return module;
}

std::optional<std::u16string> ResourceModule::NativeString(void* handle, unsigned id) {
  // With no buffer, LoadStringW points at the text inside the resource
  // itself, so a string of any length comes whole. The text is not
  // terminated there; the result counts it.
  const wchar_t* text = nullptr;
  const int length =
      ::LoadStringW(static_cast<HINSTANCE>(handle), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

bool ResourceModule::HasNativeStrings(void* handle) {
  // Strings are stored sixteen to a block; block n holds IDs 16(n-1) to
  // 16n-1, so the block of the first string tells a string table is there.
  return ::FindResourceW(static_cast<HMODULE>(handle), MAKEINTRESOURCEW(IDS_ABOUTBOX / 16 + 1),
                         RT_STRING) != nullptr;
}

}  // namespace junctra
