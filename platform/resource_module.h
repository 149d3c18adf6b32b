// A resource module: strings, dialog templates and icons by ID, either the
// built-in one or a satellite library's. The current module is where every
// text the program shows or prints comes from.
//
// A module comes in one of two forms. The table form reads a
// JunctraResourceTable (the built-in one, a Linux satellite's, a test's
// fake). The native form reads the system's own resources through a module
// handle: on Windows the program's HMODULE, or a satellite DLL's loaded as
// data, whose resources are generated from the same tables.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "resources/resource_ids.h"
#include "resources/resource_table.h"

namespace junctra {

// The end of a satellite library's file name, after the program's name:
// "-mui.so", on Windows "-mui.dll".
extern const std::string_view kSatelliteSuffix;

class Library;

class ResourceModule {
 public:
  // table may be null: a module without resources.
  explicit ResourceModule(const JunctraResourceTable* table) : table_(table) {}
  // The native form over a system module handle (an HMODULE on Windows).
  static ResourceModule Native(void* handle);

  // The program's own, US English module: on Windows the native form over
  // the program's module, elsewhere the built-in table.
  static const ResourceModule& BuiltIn();

  // The module over a loaded satellite library: the native form when the
  // library has system resources (Windows), else the table its entry point
  // returns. Null when the native form lacks a string table, or the entry
  // point or a usable table is missing.
  static std::unique_ptr<ResourceModule> FromLibrary(Library& library);

  // The string, or empty when the module lacks it. Strings from 113 on are
  // newer than some satellites' tables: a module without one gives the
  // built-in text.
  std::u16string LoadString(unsigned id) const;
  // Table form only; null when the module lacks the template.
  const JunctraDialog* FindDialog(unsigned id) const;
  // Table form only: the icon from this module, else from the built-in one.
  const JunctraIcon* FindIcon(unsigned id) const;

  const JunctraResourceTable* table() const { return table_; }
  // The module handle for the system's dialog, string and icon calls
  // (DialogBoxParamW, LoadIconW); null for the table form, so always on
  // Linux.
  void* native_handle() const { return native_; }

 private:
  // The system's parts, in windows_resource_module.cpp and
  // posix_resource_module.cpp. A string of the native form, if it has one.
  static std::optional<std::u16string> NativeString(void* handle, unsigned id);
  // The native module holds a string table for the program's strings.
  static bool HasNativeStrings(void* handle);

  std::optional<std::u16string> FindString(unsigned id) const;

  const JunctraResourceTable* table_ = nullptr;
  void* native_ = nullptr;
};

// The current resource module, as Windows programs have one; the built-in
// one until set.
const ResourceModule& CurrentResourceModule();
// null restores the built-in module. The module must outlive its use.
void SetCurrentResourceModule(const ResourceModule* module);

// A string of the current module.
inline std::u16string LoadResourceString(unsigned id) {
  return CurrentResourceModule().LoadString(id);
}

}  // namespace junctra

// The built-in table, defined in resources/.
extern "C" const JunctraResourceTable* JunctraBuiltInResources(void);
