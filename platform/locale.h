// The user's default locale as a Windows locale identifier: on POSIX taken
// from the locale variables, on Windows the user's setting.
#pragma once

#include <cstdint>

#include "platform/env.h"

namespace junctra {

// US English, the identifier of the "C" locale.
inline constexpr std::uint32_t kLcidEnglishUs = 0x0409;

// POSIX: from the first non-empty of LC_ALL, LC_MESSAGES and LANG. "C" and "POSIX"
// (with or without a codeset) or none at all give 0x0409. "ll_CC[.codeset]
// [@modifier]" gives the identifier named "ll-CC", else the one named "ll",
// else 0.
std::uint32_t GetUserDefaultLCID(Env* env = Env::Default());

}  // namespace junctra
