#include "merge/tag_merge.h"

#include <cstdint>
#include <span>

#include "database/tag_list.h"
#include "merge/conflict_detail.h"
#include "merge/folded_name_index.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {

namespace {

// The type code a tag of the second database has in the merged one.
std::int32_t MergedTypeCode(std::int32_t code, const std::vector<std::size_t>& class_positions) {
  if (code < 4) return code;
  const auto position = static_cast<std::size_t>(code) - 4;
  if (position >= class_positions.size()) return code;
  return static_cast<std::int32_t>(4 + class_positions[position]);
}

}  // namespace

bool MergeTagLists(CTagList& first, CTagList&& second, ConflictList& conflicts,
                   const ResourceModule& strings, const std::vector<std::size_t>& class_positions,
                   const std::vector<std::u16string_view>& class_names, Env* env) {
  // Folded name -> first entry met in the first map's iteration order.
  struct NameOf {
    std::u16string_view operator()(const TagMap::Entry* entry) const { return entry->name; }
  };
  using Names = FoldedNameIndex<const TagMap::Entry*, NameOf>;
  Names first_names;
  std::vector<const TagMap::Entry*> seconds;
  std::vector<std::uint32_t> hashes;
  // The first list's index on one thread, the second's names' hashes
  // gathered on the other: each name was hashed once, when it was read.
  env->RunTasks({[&] {
                   const std::vector<const TagMap::Entry*> firsts = first.m_tags.InIterationOrder();
                   first_names.Reserve(firsts.size());
                   first_names.AddAllIfAbsent(firsts, TagMap::HashesOf(firsts));
                 },
                 [&] {
                   seconds = second.m_tags.InIterationOrder();
                   hashes = TagMap::HashesOf(seconds);
                 }});

  // Each tag of the second list against its first namesake, if any: half
  // of them on each thread.
  std::vector<const TagMap::Entry*> matches(seconds.size());
  std::vector<char> differs(seconds.size());
  const auto check = [&](std::size_t begin, std::size_t end) {
    const std::span<const TagMap::Entry* const> mine(seconds.data() + begin, end - begin);
    const std::span<const TagMap::Entry*> found(matches.data() + begin, end - begin);
    first_names.FindAll(mine, std::span(hashes).subspan(begin, end - begin), found);
    for (std::size_t i = 0; i < mine.size(); ++i) {
      TagMap::FetchAhead(mine, i, 4);
      TagMap::FetchAhead(found, i, 4);
      if (found[i] == nullptr) continue;
      const CDatabaseItem& item = mine[i]->item;
      differs[begin + i] =
          item.IsDifferent(found[i]->item, MergedTypeCode(item.m_type, class_positions));
    }
  };
  const std::size_t half = seconds.size() / 2;
  env->RunTasks({[&] { check(0, half); }, [&] { check(half, seconds.size()); }});

  bool result = true;
  std::vector<const TagMap::Entry*> to_add;
  for (std::size_t i = 0; i < seconds.size(); ++i) {
    const TagMap::Entry& entry = *seconds[i];
    if (matches[i] == nullptr) {
      to_add.push_back(&entry);
    } else if (differs[i]) {
      result = false;
      const std::int32_t code = MergedTypeCode(entry.item.m_type, class_positions);
      conflicts.push_back(
          {FormatMessage(strings.LoadString(IDS_TAG_CONFLICT), entry.name),
           DescribeTagDifference(matches[i]->item, entry.item, code, class_names, strings), false,
           std::u16string(matches[i]->name)});
    }
  }

  if (result) {
    // The tags taken stay where the second list holds them.
    first.m_tags.TakeOver(std::move(second.m_tags), to_add, [&](CDatabaseItem& item) {
      item.m_type = MergedTypeCode(item.m_type, class_positions);
    });
    // And they point into its text.
    first.m_texts.Adopt(std::move(second.m_texts));
  }
  return result;
}

}  // namespace junctra
