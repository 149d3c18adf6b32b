// Initialization files ("key=value" lines under "[section]" headers), read
// with the rules of the Windows reader that the settings files were written
// for.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace junctra {

// The value of key in section of the file at path, cut to buffer_size - 1
// characters, as a buffer of buffer_size characters with its terminator
// would hold it. The default (without trailing blanks) when the file, the
// section or the key is missing. Section and key names match without regard
// to case; the first matching section and the first matching key in it win.
// The value loses surrounding white space and one pair of matching quotes.
// Lines whose first non-blank character is ";" are comments. The file is
// UTF-8, with or without a byte-order mark, or UTF-16LE with one. A file
// larger than 64 KiB is not read: it counts as missing.
std::u16string GetPrivateProfileString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view default_value, std::size_t buffer_size,
                                       const std::filesystem::path& path,
                                       Env* env = Env::Default());

// Cuts text to what a buffer of buffer_size characters holds with its
// terminator. A surrogate pair is never split.
void CutToBufferSize(std::u16string& text, std::size_t buffer_size);

}  // namespace junctra
