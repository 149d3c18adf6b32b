// Language selection: the culture name from the settings file or the user's
// locale, and the satellite resource library that holds the translated
// dialogs and strings for it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/culture_table.h"
#include "platform/env.h"
#include "platform/resource_module.h"

namespace junctra {

// Start-up's buffer for the culture name, terminator included.
inline constexpr std::size_t kCultureNameBufferSize = 255;

// The resource module in use (the application's m_hLangResourceDLL): null,
// the program's own module (the built-in resources), or a loaded satellite
// library together with the module over its table. A satellite is freed
// when the handle is reset, overwritten or destroyed; if it is the current
// resource module at that moment, the built-in module becomes current.
class ModuleHandle {
 public:
  ModuleHandle() = default;
  static ModuleHandle OwnModule();
  // Takes a library and the module over its resources.
  static ModuleHandle Satellite(std::unique_ptr<Library> library,
                                std::unique_ptr<ResourceModule> module);

  ModuleHandle(ModuleHandle&& other) noexcept;
  ModuleHandle& operator=(ModuleHandle&& other) noexcept;
  ~ModuleHandle() { Reset(); }

  bool is_null() const { return kind_ == Kind::kNull; }
  bool is_own_module() const { return kind_ == Kind::kOwnModule; }
  bool is_satellite() const { return kind_ == Kind::kSatellite; }

  // The module to make current; null for a null handle. Stays valid while
  // the handle holds the same library, also across moves.
  const ResourceModule* module() const;

  // Frees a satellite; the handle becomes null.
  void Reset();

 private:
  enum class Kind { kNull, kOwnModule, kSatellite };

  Kind kind_ = Kind::kNull;
  // Declared before module_, which points into the library, so that it is
  // destroyed after it.
  std::unique_ptr<Library> library_;
  std::unique_ptr<ResourceModule> module_;
};

// The culture name: key "CultureName" of section "Language" in the settings
// file, else the name of the user's default locale; at most length - 1
// characters. Empty when length is 0.
std::u16string ReadCultureName(const std::filesystem::path& settings_file,
                               std::size_t length = kCultureNameBufferSize,
                               Env* env = Env::Default());

// Only ASCII letters, digits and "-": the name becomes part of a library
// path, and these characters keep that path inside the program's folder.
bool IsSafeCultureName(std::u16string_view culture);

// The satellite library's file name for a program file name: a "dll", "exe"
// or "ocx" extension (any case) moves, upper-cased, behind a "-"; then
// kSatelliteSuffix ("-mui.so", on Windows "-mui.dll") follows. "junctra"
// gives "junctra-mui.so", "Junctra.exe" "Junctra-EXE-mui.dll". A "com"
// extension counts as "exe": the console program junctra.com shares
// junctra.exe's satellite. Empty when nothing is left of the name.
std::string SatelliteFileName(std::string_view program_file_name);

// Frees the satellite that *handle holds, then sets *handle to the satellite
// library for culture, or to the own module when there is none or it cannot
// be loaded. "en-US" (any case) always gives the own module; an unsafe name
// counts as "". The library is looked for in the first existing folder of
// the program folder named by the culture or a shorter prefix of it cut at
// "-" ("sr-SP-Latn", "sr-SP", "sr"), else in the program folder itself.
void LoadSatelliteResources(std::u16string_view culture, ModuleHandle* handle,
                            Env* env = Env::Default());

// Frees the satellite that *handle holds, if any; *handle becomes null.
void ReleaseSatelliteResources(ModuleHandle* handle);

}  // namespace junctra
