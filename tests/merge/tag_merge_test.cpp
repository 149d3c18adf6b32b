#include "merge/tag_merge.h"

#include <gtest/gtest.h>

#include <random>

#include "database/tag_list.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "tests/conflict_lines.h"
#include "tests/records.h"
#include "tests/tag_lookup.h"

namespace junctra {
namespace {

std::vector<std::u16string> Names(const CTagList& list) {
  std::vector<std::u16string> names;
  list.m_tags.ForEach([&](const TagMap::Entry& e) { names.emplace_back(e.name); });
  return names;
}

class MergeTagListsTest : public ::testing::Test {
 protected:
  bool Merge(CTagList& second, const std::vector<std::size_t>& positions = {}) {
    return MergeTagLists(first_, std::move(second), conflicts_, ResourceModule::BuiltIn(),
                         positions);
  }

  CTagList first_, second_;
  ConflictList conflicts_;
};

TEST_F(MergeTagListsTest, EmptyListsAndOneSidedLists) {
  EXPECT_TRUE(Merge(second_));
  EXPECT_TRUE(first_.m_tags.IsEmpty());

  second_.m_tags.SetAt(u"A", Tag(1, 1));
  second_.m_tags.SetAt(u"B", Tag(2, 1));
  EXPECT_TRUE(Merge(second_));
  EXPECT_EQ(first_.m_tags.GetCount(), 2u);
  EXPECT_TRUE(second_.m_tags.IsEmpty());  // its entries were taken over

  CTagList empty;
  EXPECT_TRUE(Merge(empty));
  EXPECT_EQ(first_.m_tags.GetCount(), 2u);
  EXPECT_TRUE(conflicts_.empty());
}

TEST_F(MergeTagListsTest, CommonTagKeepsTheFirstRecordAndName) {
  first_.m_tags.SetAt(u"Level", Tag(1, 1, u"|tank\n"));
  second_.m_tags.SetAt(u"LEVEL", Tag(1, 1, u"|TANK\n"));
  EXPECT_TRUE(Merge(second_));
  EXPECT_EQ(Names(first_), std::vector<std::u16string>{u"Level"});
  EXPECT_EQ(FindTag(first_, u"Level")->m_rest, u"|tank\n");
}

TEST_F(MergeTagListsTest, ConflictsAreAllListedAndNothingIsAdded) {
  for (std::u16string_view name : {u"T1", u"T2", u"T3", u"T4", u"T5"}) {
    first_.m_tags.SetAt(name, Tag(1, 1));
    second_.m_tags.SetAt(name, Tag(2, 1));
  }
  second_.m_tags.SetAt(u"Only", Tag(1, 1));
  EXPECT_FALSE(Merge(second_));
  std::vector<std::u16string> expected;
  second_.m_tags.ForEach([&](const TagMap::Entry& e) {
    if (e.name != u"Only") {
      expected.push_back(u"Tag '" + std::u16string(e.name) + u"' has different definitions");
    }
  });
  EXPECT_EQ(Lines(conflicts_), expected);
  EXPECT_EQ(first_.m_tags.GetCount(), 5u);
  EXPECT_EQ(FindTag(first_, u"Only"), nullptr);
}

TEST_F(MergeTagListsTest, MessageNamesTheTagAsTheSecondListHoldsIt) {
  first_.m_tags.SetAt(u"pump_speed", Tag(1, 1, u"|x\n", {u"a\n"}));
  second_.m_tags.SetAt(u"Pump_Speed", Tag(1, 1, u"|x\n", {u"a\n", u"b\n"}));
  EXPECT_FALSE(Merge(second_));
  EXPECT_EQ(Lines(conflicts_),
            std::vector<std::u16string>{u"Tag 'Pump_Speed' has different definitions"});
}

TEST_F(MergeTagListsTest, NonAsciiCaseMakesAnotherTag) {
  first_.m_tags.SetAt(u"Ölstand", Tag(1, 1));
  second_.m_tags.SetAt(u"ölstand", Tag(2, 1));
  second_.m_tags.SetAt(u"x", Tag(2, 1));
  second_.m_tags.SetAt(u"X", Tag(3, 1));
  EXPECT_TRUE(Merge(second_));
  EXPECT_EQ(first_.m_tags.GetCount(), 4u);
}

TEST_F(MergeTagListsTest, SecondTagsClassCodesFollowTheMergedClassList) {
  // Second database: classes [Valve, Pump]; merged list: [Pump, Motor, Valve].
  const std::vector<std::size_t> positions = {2, 0};
  first_.m_tags.SetAt(u"P1", Tag(1, 4));   // Pump in the first database
  second_.m_tags.SetAt(u"P1", Tag(1, 5));  // Pump in the second: same class
  second_.m_tags.SetAt(u"V1", Tag(1, 4));  // Valve
  second_.m_tags.SetAt(u"Plain", Tag(1, 3));
  second_.m_tags.SetAt(u"Odd", Tag(1, 6));  // names no class of the second list
  EXPECT_TRUE(Merge(second_, positions));
  EXPECT_EQ(FindTag(first_, u"V1")->m_type, 6);
  EXPECT_EQ(FindTag(first_, u"Plain")->m_type, 3);
  EXPECT_EQ(FindTag(first_, u"Odd")->m_type, 6);

  CTagList conflicting;
  conflicting.m_tags.SetAt(u"P1", Tag(1, 4));  // Valve in the second: another class
  conflicts_.clear();
  EXPECT_FALSE(Merge(conflicting, positions));
  EXPECT_EQ(conflicts_.size(), 1u);
}

// The check as a walk over the first map for every tag of the second,
// against which the indexed version is compared.
bool ReferenceMerge(CTagList& first, const CTagList& second, std::vector<std::u16string>& errors) {
  bool result = true;
  std::vector<const TagMap::Entry*> to_add;
  for (const TagMap::Entry* s : second.m_tags.InIterationOrder()) {
    const TagMap::Entry* match = nullptr;
    for (const TagMap::Entry* f : first.m_tags.InIterationOrder()) {
      if (EqualsIgnoringAsciiCase(f->name, s->name)) {
        match = f;
        break;
      }
    }
    if (match == nullptr) {
      to_add.push_back(s);
    } else if (s->item.IsDifferent(match->item, s->item.m_type)) {
      result = false;
      errors.push_back(u"Tag '" + std::u16string(s->name) + u"' has different definitions");
    }
  }
  if (result) {
    for (const TagMap::Entry* s : to_add) first.m_tags.SetAt(s->name, s->item);
  }
  return result;
}

TEST(MergeTagListsRandomTest, MatchesTheWalkOverTheFirstMap) {
  std::mt19937 rng(7);
  auto random_name = [&] {
    std::u16string name;
    const char16_t letters[] = u"aAbB";
    for (int i = 0, n = 1 + static_cast<int>(rng() % 3); i < n; ++i) name += letters[rng() % 4];
    return Kept(name);
  };
  for (int round = 0; round < 300; ++round) {
    CTagList a1, a2, b;
    for (int i = 0, n = static_cast<int>(rng() % 12); i < n; ++i) {
      auto name = random_name();
      auto item = Tag(static_cast<int>(rng() % 2), 1);
      a1.m_tags.SetAt(name, item);
      a2.m_tags.SetAt(name, item);
    }
    for (int i = 0, n = static_cast<int>(rng() % 12); i < n; ++i) {
      b.m_tags.SetAt(random_name(), Tag(static_cast<int>(rng() % 2), 1));
    }
    ConflictList e1;
    std::vector<std::u16string> e2;
    const bool expected = ReferenceMerge(a2, b, e2);
    ASSERT_EQ(MergeTagLists(a1, std::move(b), e1, ResourceModule::BuiltIn(), {}), expected);
    ASSERT_EQ(Lines(e1), e2);
    ASSERT_EQ(Names(a1), Names(a2));
  }
}

}  // namespace
}  // namespace junctra
