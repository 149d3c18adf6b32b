#include "database/class_list.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/database/file_bytes.h"
#include "tests/records.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

struct Member {
  std::u16string name;
  std::uint16_t type;
  std::u16string text;
  bool operator==(const Member&) const = default;
};

std::vector<Member> Members(const CClassInfo& info) {
  EXPECT_EQ(info.m_memberTypes.size(), info.m_memberNames.size());
  EXPECT_EQ(info.m_memberTexts.size(), info.m_memberNames.size());
  std::vector<Member> members;
  for (std::size_t j = 0; j < info.m_memberNames.size(); ++j) {
    members.push_back({std::u16string(info.m_memberNames[j]), info.m_memberTypes.at(j),
                       std::u16string(info.m_memberTexts.at(j))});
  }
  return members;
}

class ClassListTest : public ::testing::Test {
 protected:
  // Loads text stored as the program writes it.
  CClassList Load(std::u16string_view text) { return LoadBytes(Utf16FileBytes(text)); }
  CClassList LoadBytes(const std::string& bytes) {
    WriteBytes(path_, bytes);
    CClassList list;
    list.LoadClassFile(path_, &report_);
    return list;
  }
  // The text of the file that list saves to.
  std::u16string Saved(const CClassList& list) {
    EXPECT_TRUE(list.SaveClassFile(out_));
    const auto text = DecodeSystemFile(ReadBytes(out_));
    EXPECT_TRUE(text.has_value());
    return text.value_or(u"");
  }
  void ExpectComplete() {
    EXPECT_TRUE(report_.opened);
    EXPECT_TRUE(report_.complete);
  }
  void ExpectStoppedAt(std::size_t line) {
    EXPECT_TRUE(report_.opened);
    EXPECT_FALSE(report_.complete);
    EXPECT_EQ(report_.first_unread_line, line);
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_.path() / "class.lst";
  std::filesystem::path out_ = dir_.path() / "out.lst";
  LoadReport report_;
};

TEST_F(ClassListTest, EmptyFilesAndEmptyLists) {
  EXPECT_TRUE(LoadBytes("").m_classNames.empty());
  ExpectComplete();
  EXPECT_TRUE(Load(u"V4.x - CLASS LIST\n").m_classNames.empty());
  ExpectComplete();
  EXPECT_EQ(Saved(CClassList()), u"V4.x - CLASS LIST\n");

  CClassList kept;
  kept.AddClass(u"Pump", CClassInfo());
  kept.LoadClassFile(dir_.path() / "missing", &report_);
  EXPECT_EQ(kept.m_classNames.size(), 1u);
  EXPECT_FALSE(report_.opened);
  EXPECT_FALSE(report_.complete);
  EXPECT_FALSE(CClassList().SaveClassFile(dir_.path() / "no" / "class.lst"));
}

// The line after the header decides whether anything is read.
TEST_F(ClassListTest, OnlyAClassLineMayFollowTheHeader) {
  // No header: the class line is taken for it and its member ends the read.
  EXPECT_TRUE(Load(u"Class:A\nLevel|0|2|x\n").m_classNames.empty());
  ExpectStoppedAt(2);
  EXPECT_TRUE(Load(u"V4.x - CLASS LIST\nclass:A\nx|0|1|y\n").m_classNames.empty());
  ExpectStoppedAt(2);
  // A blank line there ends the read; fine only when nothing else follows.
  EXPECT_TRUE(Load(u"V4.x - CLASS LIST\n\nClass:A\n").m_classNames.empty());
  ExpectStoppedAt(3);
  EXPECT_TRUE(Load(u"V4.x - CLASS LIST\n \t\n\n  ").m_classNames.empty());
  ExpectComplete();
  // Line numbers count a long line once.
  EXPECT_TRUE(Load(u"V4.x\n\n" + std::u16string(3000, u' ') + u"\nx\n").m_classNames.empty());
  ExpectStoppedAt(4);
  // The header is one plain line: a long one, or one whose line ends the
  // reader cannot see, is refused.
  EXPECT_TRUE(Load(std::u16string(3000, u'h') + u"\nClass:A\n").m_classNames.empty());
  ExpectStoppedAt(1);
  EXPECT_TRUE(LoadBytes("V4.x\rClass:A\rx|0|1|y\r").m_classNames.empty());
  ExpectStoppedAt(1);
  // Member types take the low 16 bits of the saturated value.
  CClassList big = Load(u"V4.x\nClass:A\nx|0|4294967300|t\ny|0|-4294967300|t\n");
  EXPECT_EQ(big.m_classInfos[0].m_memberTypes, (std::vector<std::uint16_t>{65535, 0}));
}

TEST_F(ClassListTest, ReadsClassLines) {
  CClassList list = Load(
      u"V4.x - CLASS LIST\nClass:  Pump \t\nClass:\nLevel|0|2|Tank level\n\n\nclass:B\n"
      u"Class:Pump\nClass:Tail");
  ExpectComplete();
  EXPECT_EQ(AsStrings(list.m_classNames),
            (std::vector<std::u16string>{u"Pump", u"", u"Pump", u"Tail"}));
  ASSERT_EQ(list.m_classInfos.size(), 4u);
  EXPECT_TRUE(Members(list.m_classInfos[0]).empty());
  // Blank lines are passed over; a lower-case prefix makes a member line.
  EXPECT_EQ(Members(list.m_classInfos[1]),
            (std::vector<Member>{{u"Level", 2, u"Tank level"}, {u"class:B", 0, u""}}));
  EXPECT_TRUE(Members(list.m_classInfos[2]).empty());
  EXPECT_TRUE(Members(list.m_classInfos[3]).empty());
  EXPECT_EQ(Saved(list),
            u"V4.x - CLASS LIST\nClass:Pump\nClass:\nLevel|0|2|Tank level\nclass:B|0|0|\n"
            u"Class:Pump\nClass:Tail\n");
}

TEST_F(ClassListTest, ReadsMemberFields) {
  CClassList list = Load(
      u"V4.x - CLASS LIST\nClass:C\n"
      u"Level|7|2|x|y\n"  // fields after the fourth are dropped
      u"Level||2|x\n"     // empty fields collapse: the type comes from "x"
      u" Lead|0|1|t\n"    // the name keeps its blank
      u"Neg|0|-1|t\n"     // stored modulo 65536
      u"Big|0|70000|t\n"  //
      u"Empty|0|3|\n"     // the fourth field is the line feed alone
      u"Name\n"           // one field: completed
      u"Two|0\n"          //
      u"|||\n"            // only the line feed: no name, no member
      u"||\n"             //
      u"Last|0|5|");      // no line feed at the end
  ExpectComplete();
  ASSERT_EQ(list.m_classInfos.size(), 1u);
  const std::vector<Member> expected = {
      {u"Level", 2, u"x"},   {u"Level", 0, u""},   {u" Lead", 1, u"t"},
      {u"Neg", 65535, u"t"}, {u"Big", 4464, u"t"}, {u"Empty", 3, u""},
      {u"Name", 0, u""},     {u"Two", 0, u""},     {u"Last", 5, u""}};
  EXPECT_EQ(Members(list.m_classInfos[0]), expected);
  EXPECT_EQ(Saved(list),
            u"V4.x - CLASS LIST\nClass:C\nLevel|0|2|x\nLevel|0|0|\n Lead|0|1|t\nNeg|0|65535|t\n"
            u"Big|0|4464|t\nEmpty|0|3|\nName|0|0|\nTwo|0|0|\nLast|0|5|\n");
}

TEST_F(ClassListTest, JoinsLongLines) {
  const std::u16string name(1500, u'N');
  const std::u16string text(5000, u't');
  const std::u16string file = u"V4.x - CLASS LIST\nClass:" + name + u"\nm|0|9|" + text +
                              u"\nn|0|1|x\n" + u"Class:" + name + u"\n";
  CClassList list = Load(file);
  ExpectComplete();
  ASSERT_EQ(list.m_classNames.size(), 2u);
  EXPECT_EQ(list.m_classNames[0], name);
  EXPECT_EQ(Members(list.m_classInfos[0]), (std::vector<Member>{{u"m", 9, text}, {u"n", 1, u"x"}}));
  EXPECT_EQ(Saved(list), file);
}

// A written list loads back to itself and writes back to the same bytes.
TEST_F(ClassListTest, RoundTrip) {
  CClassList list;
  for (int c = 0; c < 30; ++c) {
    CClassInfo info;
    for (int m = 0; m < c % 6; ++m) {
      info.m_memberNames.push_back(
          list.m_texts.Keep(u"Member " + std::u16string(1, static_cast<char16_t>(u'a' + m))));
      info.m_memberTypes.push_back(static_cast<std::uint16_t>(c * 4099 + m * 61));
      info.m_memberTexts.push_back(list.m_texts.Keep(
          m % 3 == 0 ? u"" : u"Text \u00E9\u263A " + std::u16string(c * 40, u'x')));
    }
    list.AddClass(list.m_texts.Keep(u"Class\u00C4" + std::u16string(c * 50, u'c')),
                  std::move(info));
  }
  list.AddClass(u"Empty", CClassInfo());
  ASSERT_TRUE(list.SaveClassFile(path_));
  const std::string first = ReadBytes(path_);

  CClassList loaded;
  loaded.LoadClassFile(path_, &report_);
  ExpectComplete();
  EXPECT_EQ(loaded.m_classNames, list.m_classNames);
  ASSERT_EQ(loaded.m_classInfos.size(), list.m_classInfos.size());
  for (std::size_t i = 0; i < list.m_classInfos.size(); ++i) {
    EXPECT_EQ(Members(loaded.m_classInfos[i]), Members(list.m_classInfos[i])) << i;
  }
  ASSERT_TRUE(loaded.SaveClassFile(out_));
  EXPECT_EQ(ReadBytes(out_), first);
}

// Member lists of unequal length (not from the reader) are written with
// type 0 and empty text where entries are missing.
TEST_F(ClassListTest, WriterNeverReadsPastAList) {
  CClassList list;
  CClassInfo info;
  info.m_memberNames = {u"a", u"b"};
  info.m_memberTypes = {7};
  list.AddClass(u"X", std::move(info));
  list.m_classNames.push_back(u"NoInfo");
  EXPECT_EQ(Saved(list), u"V4.x - CLASS LIST\nClass:X\na|0|7|\nb|0|0|\nClass:NoInfo\n");
}

}  // namespace
}  // namespace junctra
