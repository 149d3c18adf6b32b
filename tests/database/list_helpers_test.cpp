// The definition tests of the two records and the list comparisons they
// share.
#include <gtest/gtest.h>

#include "database/class_list.h"
#include "database/database_item.h"
#include "database/list_helpers.h"
#include "tests/records.h"

namespace junctra {
namespace {

using Views = std::vector<std::u16string_view>;

TEST(ListHelpersTest, StringArraysFoldOnlyAsciiCase) {
  EXPECT_FALSE(CompareStringArrays(Views{}, Views{}));
  EXPECT_FALSE(CompareStringArrays(Views{u"Abc", u"x"}, Views{u"aBC", u"X"}));
  EXPECT_TRUE(CompareStringArrays(Views{u"a"}, Views{u"a", u"b"}));
  EXPECT_TRUE(CompareStringArrays(Views{u"a", u"b"}, Views{u"b", u"a"}));
  EXPECT_TRUE(CompareStringArrays(Views{u"Ä"}, Views{u"ä"}));
  EXPECT_TRUE(CompareStringArrays(Views{u"a\n"}, Views{u"a"}));
  EXPECT_FALSE(CompareWordArrays({1, 2}, {1, 2}));
  EXPECT_TRUE(CompareWordArrays({1, 2}, {2, 1}));
  EXPECT_TRUE(CompareWordArrays({1}, {}));
}

// A section's lines are the pieces of its text: cut after each line feed
// and after every 1022 characters without one.
TEST(ListHelpersTest, SectionsAreTheirLines) {
  const std::u16string x(1022, u'x'), y(2000, u'y');
  EXPECT_EQ(
      AsStrings(Section({u"a\n", x, u"\n", y, u"z"})),
      (std::vector<std::u16string>{u"a\n", x, u"\n", y.substr(0, 1022), y.substr(1022) + u"z"}));
  EXPECT_TRUE(AsStrings(SectionLines()).empty());
  // Compared whole, they compare as their lines would, one by one.
  EXPECT_FALSE(CompareStringArrays(Section({}), Section({})));
  EXPECT_FALSE(CompareStringArrays(Section({u"Abc\n", u"x\n"}), Section({u"aBC\n", u"X\n"})));
  EXPECT_TRUE(CompareStringArrays(Section({u"a\n"}), Section({u"a\n", u"b\n"})));
  EXPECT_TRUE(CompareStringArrays(Section({u"a\n", u"b\n"}), Section({u"b\n", u"a\n"})));
  EXPECT_TRUE(CompareStringArrays(Section({x, u"\n"}), Section({x, u"y\n"})));
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
  history.m_historyLines = Section({u"h\n"});
  EXPECT_TRUE(Tag(1, 2).IsDifferent(history, 2));
  // The type taken for this record, not its own, is compared.
  EXPECT_FALSE(Tag(1, 5).IsDifferent(Tag(1, 7), 7));
}

}  // namespace
}  // namespace junctra
