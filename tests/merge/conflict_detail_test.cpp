#include "merge/conflict_detail.h"

#include <gtest/gtest.h>

#include "database/class_list.h"
#include "database/database_item.h"
#include "database/tag_list.h"
#include "merge/class_merge.h"
#include "merge/tag_merge.h"
#include "platform/resource_module.h"
#include "tests/records.h"

namespace junctra {
namespace {

const ResourceModule& kStrings = ResourceModule::BuiltIn();

std::u16string Line(const CDatabaseItem& a, const CDatabaseItem& b, std::int32_t b_type = -1) {
  const std::vector<std::u16string_view> classes = {u"Pump", u"Valve"};
  return DetailLine(DescribeTagDifference(a, b, b_type < 0 ? b.m_type : b_type, classes, kStrings),
                    kStrings);
}

std::u16string Line(const CClassInfo& a, const CClassInfo& b) {
  return DetailLine(DescribeClassDifference(a, b, kStrings), kStrings);
}

TEST(ConflictDetailTest, TagsNameTheFirstDifferenceInFileOrder) {
  const CDatabaseItem base = Tag(10, 4, u"|Hi\n", {u"Hi|80|1\n", u"Lo|5|1\n"});
  CDatabaseItem other = base;
  other.m_number = 11;
  other.m_type = 5;  // the number comes first
  EXPECT_EQ(Line(base, other), u"Number: first 10, second 11");
  other.m_number = 10;
  EXPECT_EQ(Line(base, other), u"Type: first 4 (\"Pump\"), second 5 (\"Valve\")");
  EXPECT_EQ(Line(Tag(1, 2), Tag(1, 9)), u"Type: first 2, second 9");  // 9 names no class
  // Compared after the translation of class references: no type difference.
  EXPECT_EQ(DescribeTagDifference(base, other, 4, {}, kStrings).part, u"");
  EXPECT_EQ(Line(base, Tag(10, 4, u"|Lo\n")),
            u"Rest of the tag line: first \"|Hi\", second \"|Lo\"");

  other = base;
  other.m_alarmLines = Section({u"Hi|80|1\n", u"LO|6|1\n"});
  EXPECT_EQ(Line(base, other), u"Alarm line 2: first \"Lo|5|1\", second \"LO|6|1\"");
  other.m_alarmLines = Section({u"Hi|80|1\n"});
  EXPECT_EQ(Line(base, other), u"Alarm line 2: first \"Lo|5|1\", second (none)");
  other = base;
  other.m_parameterLines = Section({u"P=1\n", u"Q=2\n"});
  other.m_historyLines = Section({u"H\n"});  // Parameters come before History
  EXPECT_EQ(Line(base, other), u"Parameters line 2: first (none), second \"Q=2\"");
  other.m_parameterLines = base.m_parameterLines;
  EXPECT_EQ(Line(base, other), u"History line 1: first (none), second \"H\"");
  // A long line is compared piece by piece, as it was read.
  const std::u16string piece(1022, u'p');
  other = base;
  other.m_historyLines = Section({piece, u"q\n"});
  CDatabaseItem longer = base;
  longer.m_historyLines = Section({piece, u"Q\n", u"r\n"});
  EXPECT_EQ(Line(other, longer), u"History line 3: first (none), second \"r\"");
  // Case of A to Z alone is no difference.
  other = base;
  other.m_alarmLines = Section({u"hI|80|1\n", u"Lo|5|1\n"});
  EXPECT_EQ(DescribeTagDifference(base, other, 4, {}, kStrings).part, u"");
}

TEST(ConflictDetailTest, ClassesNameTheCountOrTheMemberAndField) {
  const CClassInfo pump = Pump();  // Speed (2, rpm), Running (1, on/off)
  EXPECT_EQ(Line(pump, Members({u"Speed"}, {2}, {u"rpm"})), u"Member count: first 2, second 1");
  EXPECT_EQ(Line(pump, Members({u"Speed", u"Run"}, {2, 1}, {u"rpm", u"on/off"})),
            u"Member 2 (Running), name: first \"Running\", second \"Run\"");
  EXPECT_EQ(Line(pump, Members({u"SPEED", u"Running"}, {3, 1}, {u"rpm", u"x"})),
            u"Member 1 (Speed), type: first 2, second 3");
  EXPECT_EQ(Line(pump, Members({u"Speed", u"Running"}, {2, 1}, {u"rpm", u"x"})),
            u"Member 2 (Running), text: first \"on/off\", second \"x\"");
}

TEST(ConflictDetailTest, ShownTextsAreSafeAndShort) {
  EXPECT_EQ(ShownText(u"a\tb\x7F\n"), u"a\uFFFDb\uFFFD");
  const std::u16string fits(kShownTextLength, u'x');
  EXPECT_EQ(ShownText(fits + u"\n"), fits);
  EXPECT_EQ(ShownText(fits + u"y"), fits + u"\u2026");
  // A pair of surrogates is never cut in two.
  const std::u16string pair = std::u16string(kShownTextLength - 1, u'x') + u"\U0001F600";
  EXPECT_EQ(ShownText(pair), std::u16string(kShownTextLength - 1, u'x') + u"\u2026");
}

TEST(ConflictDetailTest, ChecksGiveEachConflictLineItsDetail) {
  CTagList first, second;
  first.m_tags.SetAt(u"A", Tag(1, 1));
  first.m_tags.SetAt(u"B", Tag(2, 1));
  second.m_tags.SetAt(u"b", Tag(3, 1));
  second.m_tags.SetAt(u"a", Tag(1, 2));
  ConflictList conflicts;
  EXPECT_FALSE(MergeTagLists(first, std::move(second), conflicts, kStrings, {}));
  ASSERT_EQ(conflicts.size(), 2u);
  for (const Conflict& conflict : conflicts) {
    EXPECT_EQ(conflict.detail.part,
              conflict.line.find(u"'a'") != std::u16string::npos ? u"Type" : u"Number");
  }

  CClassList classes, other;
  classes.AddClass(u"Pump", Pump());
  other.AddClass(u"PUMP", Members({u"Speed"}, {2}, {u"rpm"}));
  std::vector<std::size_t> positions;
  conflicts.clear();
  EXPECT_FALSE(MergeClassLists(classes, std::move(other), conflicts, kStrings, positions));
  ASSERT_EQ(conflicts.size(), 1u);
  EXPECT_EQ(conflicts[0].line, u"Class 'Pump' has different definitions");
  EXPECT_EQ(conflicts[0].detail.part, u"Member count");
}

}  // namespace
}  // namespace junctra
