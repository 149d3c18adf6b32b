// What a loader tells beyond the format's own result: whether it took the
// whole file, so that no class or tag is ever dropped silently.
#pragma once

#include <cstddef>

namespace junctra {

struct LoadReport {
  // The file could be opened.
  bool opened = false;
  // Every line of the file was taken (or only blank lines were left).
  bool complete = false;
  // When not complete: the 1-based number of the first line not taken,
  // counting lines as the reader delivers them (a long line joined is one).
  std::size_t first_unread_line = 0;
  // Why the file could not be opened, or could not be read to its end: an
  // errno value (ENOMEM when it does not fit into memory). 0 when the
  // system gave no reason, as for a line refused for its format.
  int error = 0;
};

}  // namespace junctra
