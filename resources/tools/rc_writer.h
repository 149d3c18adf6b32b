// Writes a resource table as a resource script (.rc) that windres compiles
// into Windows resources. The C++ tables (builtin_resources.cpp and
// de/de_resources.cpp) are the one source of every resource; the scripts
// are generated from them at build time by make_rc and never edited.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "resources/resource_table.h"

namespace junctra {

// What a script says about its file beyond the table: language and
// version information.
struct RcFileInfo {
  std::uint16_t language = 0x0409;  // a Windows language identifier
  std::string version;              // "1.0": FileVersion and ProductVersion
  std::string original_filename;    // "junctra.exe"; a ".dll" marks a library
  std::string description;          // FileDescription
  std::string icon_file;            // the .ico file of every icon in the table
  std::string manifest_file;        // the application manifest; empty: none
};

// A quoted script string for UTF-8 text: a quote doubled, a backslash and
// a line feed escaped, anything else as it is.
std::string RcString(std::string_view text);

// The whole script: UTF-8 code page, language, string table, dialog
// templates, icons, the manifest when given and version information (none
// without an original file name: the table linked into several programs
// leaves it to each program's own script). None when a control is of a
// kind Windows has no class for.
std::optional<std::string> WriteRc(const JunctraResourceTable& table, const RcFileInfo& info);

// A script of the version information alone, for one program file.
std::string WriteVersionRc(const RcFileInfo& info);

}  // namespace junctra
