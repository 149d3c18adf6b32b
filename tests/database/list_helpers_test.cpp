// The definition tests of the two records and the list comparisons they
// share.
#include <gtest/gtest.h>

#include "database/class_list.h"
#include "database/database_item.h"
#include "database/list_helpers.h"
#include "tests/records.h"

namespace junctra {
namespace {

TEST(ListHelpersTest, StringArraysFoldOnlyAsciiCase) {
  EXPECT_FALSE(CompareStringArrays({}, {}));
  EXPECT_FALSE(CompareStringArrays({u"Abc", u"x"}, {u"aBC", u"X"}));
  EXPECT_TRUE(CompareStringArrays({u"a"}, {u"a", u"b"}));
  EXPECT_TRUE(CompareStringArrays({u"a", u"b"}, {u"b", u"a"}));
  EXPECT_TRUE(CompareStringArrays({u"Ä"}, {u"ä"}));
  EXPECT_TRUE(CompareStringArrays({u"a\n"}, {u"a"}));
  EXPECT_FALSE(CompareWordArrays({1, 2}, {1, 2}));
  EXPECT_TRUE(CompareWordArrays({1, 2}, {2, 1}));
  EXPECT_TRUE(CompareWordArrays({1}, {}));
}

TEST(ClassInfoTest, DefinitionsDifferInOrderCountAndTypesButNotAsciiCase) {
  EXPECT_FALSE(Pump().IsDifferent(Members({u"SPEED", u"running"}, {2, 1}, {u"RPM", u"ON/OFF"})));
  EXPECT_TRUE(Pump().IsDifferent(Members({u"Running", u"Speed"}, {1, 2}, {u"on/off", u"rpm"})));
  EXPECT_TRUE(Pump().IsDifferent(
      Members({u"Speed", u"Running", u"Fault"}, {2, 1, 1}, {u"rpm", u"on/off", u""})));
  EXPECT_TRUE(Pump().IsDifferent(Members({u"Speed", u"Running"}, {3, 1}, {u"rpm", u"on/off"})));
}

TEST(DatabaseItemTest, DefinitionTestFoldsAsciiCaseInTextsOnly) {
  EXPECT_FALSE(
      Tag(1, 2, u"|Tank A\n", {u"HI=5\n"}).IsDifferent(Tag(1, 2, u"|TANK a\n", {u"hi=5\n"}), 2));
  EXPECT_TRUE(Tag(1, 2).IsDifferent(Tag(1, 3), 2));
  EXPECT_TRUE(Tag(1, 2).IsDifferent(Tag(2, 2), 2));
  EXPECT_TRUE(Tag(1, 2, u"|x\n").IsDifferent(Tag(1, 2, u"|x \n"), 2));
  EXPECT_TRUE(
      Tag(1, 2, u"|x\n", {u"a\n", u"b\n"}).IsDifferent(Tag(1, 2, u"|x\n", {u"b\n", u"a\n"}), 2));
  EXPECT_TRUE(Tag(1, 2, u"|x\n", {u"a\n"}).IsDifferent(Tag(1, 2, u"|x\n", {u"a\n", u"a\n"}), 2));
  CDatabaseItem history = Tag(1, 2);
  history.m_historyLines = {u"h\n"};
  EXPECT_TRUE(Tag(1, 2).IsDifferent(history, 2));
  // The type taken for this record, not its own, is compared.
  EXPECT_FALSE(Tag(1, 5).IsDifferent(Tag(1, 7), 7));
}

}  // namespace
}  // namespace junctra
