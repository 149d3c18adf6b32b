#include "merge/class_merge.h"

#include <gtest/gtest.h>

#include "database/class_list.h"
#include "platform/resource_module.h"
#include "tests/conflict_lines.h"
#include "tests/records.h"

namespace junctra {
namespace {

CClassInfo Valve() { return Members({u"Open"}, {1}, {u"position"}); }

class MergeClassListsTest : public ::testing::Test {
 protected:
  CClassList first_, second_;
  ConflictList conflicts_;
  std::vector<std::size_t> positions_;

  bool Merge() {
    return MergeClassLists(first_, std::move(second_), conflicts_, ResourceModule::BuiltIn(),
                           positions_);
  }
};

TEST_F(MergeClassListsTest, EmptyListsMergeToNothing) {
  EXPECT_TRUE(Merge());
  EXPECT_TRUE(first_.m_classNames.empty());
  EXPECT_TRUE(conflicts_.empty());
  EXPECT_TRUE(positions_.empty());
}

TEST_F(MergeClassListsTest, AppendsTheClassesOnlyTheSecondHasInItsOrder) {
  first_.AddClass(u"Tank", Valve());
  second_.AddClass(u"Pump", Pump());
  second_.AddClass(u"TANK", Valve());
  second_.AddClass(u"Valve", Valve());
  EXPECT_TRUE(Merge());
  EXPECT_EQ(AsStrings(first_.m_classNames),
            (std::vector<std::u16string>{u"Tank", u"Pump", u"Valve"}));
  ASSERT_EQ(first_.m_classInfos.size(), 3u);
  EXPECT_FALSE(first_.m_classInfos[1].IsDifferent(Pump()));
  EXPECT_EQ(positions_, (std::vector<std::size_t>{1, 0, 2}));
  EXPECT_EQ(second_.m_classNames.size(), 3u);  // untouched
}

TEST_F(MergeClassListsTest, EmptySecondListChangesNothing) {
  first_.AddClass(u"Pump", Pump());
  EXPECT_TRUE(Merge());
  EXPECT_EQ(first_.m_classNames.size(), 1u);
}

TEST_F(MergeClassListsTest, EveryConflictIsListedAndNothingIsAdded) {
  first_.AddClass(u"pump", Pump());
  first_.AddClass(u"Valve", Valve());
  second_.AddClass(u"VALVE", Pump());
  second_.AddClass(u"Extra", Pump());
  second_.AddClass(u"Pump", Valve());
  EXPECT_FALSE(Merge());
  EXPECT_EQ(Lines(conflicts_),
            (std::vector<std::u16string>{u"Class 'Valve' has different definitions",
                                         u"Class 'pump' has different definitions"}));
  EXPECT_EQ(AsStrings(first_.m_classNames), (std::vector<std::u16string>{u"pump", u"Valve"}));
  EXPECT_FALSE(first_.m_classInfos[0].IsDifferent(Pump()));
}

TEST_F(MergeClassListsTest, OnlyTheFirstNamesakeInTheFirstListCounts) {
  first_.AddClass(u"Pump", Pump());
  first_.AddClass(u"PUMP", Valve());
  second_.AddClass(u"pump", Pump());
  EXPECT_TRUE(Merge());
  EXPECT_EQ(first_.m_classNames.size(), 2u);
  EXPECT_EQ(positions_, (std::vector<std::size_t>{0}));

  second_.m_classInfos[0] = Valve();
  EXPECT_FALSE(Merge());
  EXPECT_EQ(conflicts_.back().line, u"Class 'Pump' has different definitions");
}

TEST_F(MergeClassListsTest, NamesakesWithinTheSecondListAreAllAppended) {
  second_.AddClass(u"Pump", Pump());
  second_.AddClass(u"Pump", Valve());
  second_.AddClass(u"", Valve());
  first_.AddClass(u"", Valve());
  EXPECT_TRUE(Merge());
  EXPECT_EQ(AsStrings(first_.m_classNames), (std::vector<std::u16string>{u"", u"Pump", u"Pump"}));
  EXPECT_EQ(positions_, (std::vector<std::size_t>{1, 2, 0}));
}

TEST_F(MergeClassListsTest, AccentedCapitalsAreOtherNames) {
  first_.AddClass(u"Ärger", Pump());
  second_.AddClass(u"ärger", Valve());
  EXPECT_TRUE(Merge());
  EXPECT_EQ(first_.m_classNames.size(), 2u);
}

TEST_F(MergeClassListsTest, MoreThan65536ClassesAreCarriedOver) {
  for (int i = 0; i < 70000; ++i) {
    second_.AddClass(Kept(u"C" + std::u16string(1, static_cast<char16_t>(0x4E00 + i % 20000)) +
                          std::u16string(1, static_cast<char16_t>(u'a' + i / 20000))),
                     CClassInfo());
  }
  EXPECT_TRUE(Merge());
  EXPECT_EQ(first_.m_classNames.size(), 70000u);
  EXPECT_EQ(positions_[69999], 69999u);
}

}  // namespace
}  // namespace junctra
