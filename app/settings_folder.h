// Where the settings file "Program Settings.ini" lives: a per-user folder
// named after the product, as the product file beside the program says.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/env.h"

namespace junctra {

// Name of both the product file and the settings file.
inline constexpr char kProgramSettingsFileName[] = "Program Settings.ini";

// The product folder name's limit: its buffer of 128 characters also takes
// the appended separator and the terminator.
inline constexpr std::size_t kProductFolderNameMax = 126;

// The settings folder, ending in "/": the local application data folder
// followed by the product folder name, or the program's own folder when the
// system is too old for per-user folders or neither query of the local
// application data folder succeeds. Empty when the program's own path
// cannot be had.
std::filesystem::path GetSettingsFolder(Env* env = Env::Default());

// "<ProductName> v<Version>" from the product file, or only the product
// name when with_version is false; without the trailing separator and cut
// to kProductFolderNameMax characters.
std::u16string GetProductFolderName(const std::filesystem::path& product_file, bool with_version,
                                    Env* env = Env::Default());

}  // namespace junctra
