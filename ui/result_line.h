// The main dialog's line after a successful merge, the same for every
// toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "merge/merge_command.h"
#include "platform/resource_module.h"

namespace junctra {

// value in decimal with separator between groups of three digits.
std::u16string GroupedDecimal(std::uint64_t value, std::u16string_view separator);

// "Merged into FOLDER: N classes, N tags (N classes and N tags from the
// second database).", numbers grouped as the module's language groups them,
// each count in its singular or plural form;
// a three-way merge, a decided one and a dry run add the counts of
// changed, deleted and decided definitions, and a dry run says it would.
std::u16string ResultLine(const MergeSummary& summary, const ResourceModule& strings);

}  // namespace junctra
