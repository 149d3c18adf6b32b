// How the checks describe where two definitions differ, and the report of
// a conflict list as batch use prints it and the error list copies it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "merge/conflict.h"

namespace junctra {

struct CClassInfo;
struct CDatabaseItem;
class ResourceModule;

// Texts longer than this many code units are cut and end in "…".
inline constexpr std::size_t kShownTextLength = 160;

// A stored text as details show it: without its line feed, control
// characters as U+FFFD, cut at kShownTextLength (never inside a surrogate
// pair).
std::u16string ShownText(std::u16string_view text);

// Tags, in file order: number, type code, rest of the tag line, then the
// Parameters, Alarm and History sections line by line. second_type is the
// second tag's code in the merged class list, whose names class_names holds.
ConflictDetail DescribeTagDifference(const CDatabaseItem& first, const CDatabaseItem& second,
                                     std::int32_t second_type,
                                     const std::vector<std::u16string_view>& class_names,
                                     const ResourceModule& strings);

// Classes: the member count, else the first member whose name, type or
// text differs.
ConflictDetail DescribeClassDifference(const CClassInfo& first, const CClassInfo& second,
                                       const ResourceModule& strings);

// One database's version of a tag in a three-way conflict. item null: the
// database deleted it. Type codes are shown as type with class_names, and
// compared by type_key, so that codes naming one class are equal.
struct TagVersion {
  const CDatabaseItem* item = nullptr;
  std::int32_t type = 0;
  std::int64_t type_key = 0;
  const std::vector<std::u16string_view>* class_names = nullptr;
};

// A conflict of a three-way merge: the first part where first and second
// differ, or where the one that is there differs from base, with that part
// in each version ("(deleted)" for a deleted one); with base's version too
// when base is given.
ConflictDetail DescribeTagConflict(const TagVersion& first, const TagVersion& second,
                                   const TagVersion* base, const ResourceModule& strings);
// The same for classes; a null version is deleted.
ConflictDetail DescribeClassConflict(const CClassInfo* first, const CClassInfo* second,
                                     const CClassInfo* base, const ResourceModule& strings);

// One line: PART: first "A", second "B", and base "C" when the detail has
// the base's version.
std::u16string DetailLine(const ConflictDetail& detail, const ResourceModule& strings);

// The whole report: each conflict line, then its detail line, if any,
// indented by two spaces.
std::vector<std::u16string> ConflictReportLines(const ConflictList& conflicts,
                                                const ResourceModule& strings);

}  // namespace junctra
