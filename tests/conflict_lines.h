// The lines of a conflict list, to compare with expected ones.
#pragma once

#include <string>
#include <vector>

#include "merge/conflict.h"

namespace junctra {

inline std::vector<std::u16string> Lines(const ConflictList& conflicts) {
  std::vector<std::u16string> lines;
  lines.reserve(conflicts.size());
  for (const Conflict& conflict : conflicts) lines.push_back(conflict.line);
  return lines;
}

}  // namespace junctra
