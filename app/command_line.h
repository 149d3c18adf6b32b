// The command line: up to three folders, no switches.
#pragma once

#include <filesystem>

namespace junctra {

struct CommandLineFolders {
  std::filesystem::path first;
  std::filesystem::path second;
  std::filesystem::path output;
  std::filesystem::path fourth;  // filled like the others, never used
};

// Every argument after the program's own is a path, even one that begins
// with "-" or "/". Each goes into the first empty slot; an empty argument
// fills nothing; arguments beyond the fourth slot are ignored. The
// arguments are UTF-8 (ProgramArguments).
CommandLineFolders ParseCommandLine(int argc, const char* const* argv);

}  // namespace junctra
