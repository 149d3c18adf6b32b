#include "app/command_line.h"

#include <array>

#include "platform/text.h"

namespace junctra {

CommandLineFolders ParseCommandLine(int argc, const char* const* argv) {
  CommandLineFolders folders;
  const std::array<std::filesystem::path*, 4> slots = {&folders.first, &folders.second,
                                                       &folders.output, &folders.fourth};
  std::size_t next = 0;
  for (int i = 1; i < argc && next < slots.size(); ++i) {
    if (argv[i] == nullptr || argv[i][0] == '\0') continue;
    *slots[next++] = Utf8ToPath(argv[i]);
  }
  return folders;
}

}  // namespace junctra
