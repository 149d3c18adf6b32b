// The command line: a few options, then up to three folders.
//
//   junctra [--base BASE] [--take first|second] [--dry-run] FIRST SECOND [OUTPUT]
//   junctra --help | --version
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "merge/conflict.h"

namespace junctra {

struct CommandLine {
  std::filesystem::path first;
  std::filesystem::path second;
  std::filesystem::path output;
  std::filesystem::path fourth;  // filled like the others, never used

  std::filesystem::path base;  // --base; empty when not given
  std::optional<Side> take;    // --take
  bool dry_run = false;        // --dry-run
  bool help = false;           // --help; on Windows also "/?" alone
  bool version = false;        // --version

  // A wrong use of an option: the message (a string ID taking the option's
  // name as %1) and the option; 0 when the line is fine. The first one found.
  unsigned wrong_use = 0;
  std::u16string wrong_option;
};

// Options stand before the folders and are only these exact arguments, the
// value of --base and --take following in the next argument or after "=".
// The first argument that is none of them is a folder, and so is every
// argument after it; "--" ends the options too. So "-x", "--frobnicate" and
// "/x" are folders, as is "--dry-run" after a folder. Folders go into the
// first empty slot; an empty argument fills nothing (and ends no options);
// arguments beyond the fourth slot are ignored. Wrong use: --take without
// first or second, --base without a folder, an option given twice, and
// --take or --dry-run without two folders, which only a batch merge has.
// The arguments are UTF-8 (ProgramArguments).
CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace junctra
