#include "database/name_index.h"

#include "database/name_hash.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>
#include <string>

namespace junctra {
namespace {

// A weak hash puts many names into one probe run.
struct FirstUnitHash {
  std::size_t operator()(std::u16string_view s) const { return s.empty() ? 0 : s[0] % 4; }
};
struct Same {
  bool operator()(std::u16string_view a, std::u16string_view b) const { return a == b; }
};
struct Deref {
  std::u16string_view operator()(const std::u16string* name) const { return *name; }
};

TEST(NameIndexTest, AgreesWithAnOrderedMapThroughGrowthAndCollisions) {
  // Values point at names kept alive in stable storage.
  NameIndex<const std::u16string*, FirstUnitHash, Same, Deref> index;
  std::map<std::u16string, const std::u16string*> reference;
  std::deque<std::u16string> names;
  std::mt19937 rng(3);
  for (int i = 0; i < 3000; ++i) {
    std::u16string name(1 + rng() % 3, u'a');
    for (auto& c : name) c = static_cast<char16_t>(u'a' + rng() % 6);
    bool added = false;
    const std::u16string* value = index.FindOrAdd(
        name,
        [&] {
          names.push_back(name);
          return &names.back();
        },
        &added);
    auto [it, inserted] = reference.try_emplace(name, added ? value : nullptr);
    ASSERT_EQ(added, inserted);
    ASSERT_EQ(value, it->second);
    ASSERT_EQ(*value, name);
  }
  for (const auto& [name, value] : reference) {
    const std::u16string* const* found = index.Find(name);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, value);
  }
  EXPECT_EQ(index.Find(u"zzzz"), nullptr);
  EXPECT_EQ(index.Find(u""), nullptr);
}

// The index takes the low bits of the hash: every unit of a name must reach
// them, and names that differ only in A to Z case must hash alike.
TEST(NameIndexTest, FoldedNameHashSpreadsLikeNamesAndIgnoresCase) {
  EXPECT_EQ(FoldedNameHash(u"Unit7_Tag12345"), FoldedNameHash(u"UNIT7_tag12345"));
  EXPECT_NE(FoldedNameHash(u"Unit7_Tag12345"), FoldedNameHash(u"Unit7_Tag12346"));
  std::map<std::uint32_t, int> buckets;
  for (int i = 0; i < 65536; ++i) {
    const std::string name = "Unit" + std::to_string(i % 97) + "_Tag" + std::to_string(i);
    ++buckets[FoldedNameHash(std::u16string(name.begin(), name.end())) & 0xFFF];
  }
  EXPECT_GT(buckets.size(), 4000u);  // of 4096
  for (const auto& [bucket, count] : buckets) EXPECT_LT(count, 40) << bucket;
}

}  // namespace
}  // namespace junctra
