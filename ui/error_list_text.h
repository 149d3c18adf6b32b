// What the error list dialog shows and copies, the same for every toolkit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "merge/conflict.h"
#include "platform/resource_module.h"

namespace junctra {

// The whole report as batch use prints it: the heading, then each conflict
// line and its detail, every line followed by line_end.
std::u16string ConflictReportText(const ConflictList& conflicts, const ResourceModule& strings,
                                  std::u16string_view line_end);

// The stretch where two shown values differ: [begin, first_end) of the
// first and [begin, second_end) of the second, after their common beginning
// and before their common end (A to Z in either case count as equal).
struct DifferenceMark {
  std::size_t begin = 0;
  std::size_t first_end = 0;
  std::size_t second_end = 0;
};
DifferenceMark MarkDifference(std::u16string_view first, std::u16string_view second);

}  // namespace junctra
