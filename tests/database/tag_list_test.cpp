#include "database/tag_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>

#include "platform/text.h"
#include "tests/database/file_bytes.h"
#include "tests/records.h"
#include "tests/tag_lookup.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

using Strings = std::vector<std::u16string>;

struct Tag {
  std::u16string name;
  std::int32_t number = 0;
  std::int32_t type = 0;
  std::u16string rest;
  Strings parameters;
  Strings alarm;
  Strings history;
  bool operator==(const Tag&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Tag& tag) {
  return out << Utf16ToUtf8(tag.name) << " " << tag.number << " " << tag.type << " "
             << Utf16ToUtf8(tag.rest) << " [" << tag.parameters.size() << "," << tag.alarm.size()
             << "," << tag.history.size() << "]";
}

// The tags in iteration order.
std::vector<Tag> Tags(const CTagList& list) {
  std::vector<Tag> tags;
  list.m_tags.ForEach([&tags](const TagMap::Entry& entry) {
    const CDatabaseItem& item = entry.item;
    tags.push_back({std::u16string(entry.name), item.m_number, item.m_type,
                    std::u16string(item.m_rest), AsStrings(item.m_parameterLines),
                    AsStrings(item.m_alarmLines), AsStrings(item.m_historyLines)});
  });
  return tags;
}

// Its lines one after another, kept by list.
SectionLines Section(CTagList& list, const Strings& lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line;
  return SectionLines(list.m_texts.Keep(text));
}

void Add(CTagList& list, const Tag& tag) {
  CDatabaseItem item;
  item.m_number = tag.number;
  item.m_type = tag.type;
  item.m_rest = list.m_texts.Keep(tag.rest);
  item.m_parameterLines = Section(list, tag.parameters);
  item.m_alarmLines = Section(list, tag.alarm);
  item.m_historyLines = Section(list, tag.history);
  list.m_tags.SetAt(list.m_texts.Keep(tag.name), item);
}

constexpr std::u16string_view kHeader = u"//4.x - Application Tags\n";

class TagListTest : public ::testing::Test {
 protected:
  // Loads text stored as the program writes it; result_ is the loader's.
  std::unique_ptr<CTagList> Load(std::u16string_view text) {
    return LoadBytes(Utf16FileBytes(text));
  }
  std::unique_ptr<CTagList> LoadBytes(const std::string& bytes) {
    WriteBytes(path_, bytes);
    auto list = std::make_unique<CTagList>();
    result_ = list->LoadTagFile(path_, &report_);
    return list;
  }
  std::u16string Saved(const CTagList& list) {
    EXPECT_TRUE(list.SaveTagFile(out_));
    const auto text = DecodeSystemFile(ReadBytes(out_));
    EXPECT_TRUE(text.has_value());
    return text.value_or(u"");
  }
  void ExpectComplete(bool result) {
    EXPECT_EQ(result_, result);
    EXPECT_TRUE(report_.opened);
    EXPECT_TRUE(report_.complete);
  }
  void ExpectStoppedAt(bool result, std::size_t line) {
    EXPECT_EQ(result_, result);
    EXPECT_TRUE(report_.opened);
    EXPECT_FALSE(report_.complete);
    EXPECT_EQ(report_.first_unread_line, line);
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_.path() / "tagl.txt";
  std::filesystem::path out_ = dir_.path() / "out.txt";
  bool result_ = false;
  LoadReport report_;
};

TEST_F(TagListTest, EmptyFilesAndEmptyLists) {
  EXPECT_TRUE(LoadBytes("")->m_tags.IsEmpty());
  ExpectComplete(true);
  EXPECT_TRUE(Load(kHeader)->m_tags.IsEmpty());
  ExpectComplete(true);
  EXPECT_EQ(Saved(CTagList()), kHeader);
  EXPECT_TRUE(Load(Saved(CTagList()))->m_tags.IsEmpty());
  ExpectComplete(true);

  CTagList list;
  EXPECT_FALSE(list.LoadTagFile(dir_.path() / "missing", &report_));
  EXPECT_FALSE(report_.opened);
  EXPECT_FALSE(report_.complete);
  EXPECT_FALSE(CTagList().SaveTagFile(dir_.path() / "no" / "tagl.txt"));
}

TEST_F(TagListTest, ReadsTagLinesAndSections) {
  auto list = Load(std::u16string(kHeader) +
                   u"#5|Level| 10|-2|a b|c\n#Parameters\n#Alarm\n#History\n"
                   u"#3|Flow Rate|0|4|x\n#Parameters\nP1\n\n//not a comment\n"
                   u"#Alarm\nA1\n#History\nH1\nH2\n"
                   u"#12|Bare|1|2\n#Parameters\n#Alarm\n#History\n#");
  ExpectComplete(true);
  std::vector<Tag> tags = Tags(*list);
  std::sort(tags.begin(), tags.end(), [](const Tag& a, const Tag& b) { return a.name < b.name; });
  EXPECT_EQ(tags, (std::vector<Tag>{
                      {u"Bare", 1, 2, u"", {}, {}, {}},
                      {u"Flow Rate",
                       0,
                       4,
                       u"|x\n",
                       {u"P1\n", u"\n", u"//not a comment\n"},
                       {u"A1\n"},
                       {u"H1\n", u"H2\n"}},
                      {u"Level", 10, -2, u"|a b|c\n", {}, {}, {}},
                  }));
}

TEST_F(TagListTest, WritesInIterationOrderRenumberedWithLineEnds) {
  CTagList list;
  Add(list, {u"Level", 10, -2, u"|a b|c\n", {}, {}, {}});
  const std::u16string text = Saved(list);
  EXPECT_EQ(text,
            std::u16string(kHeader) + u"#1|Level|10|-2|a b|c\n#Parameters\n#Alarm\n#History\n#");

  // A tag line without rest still ends its line. Section pieces are written
  // exactly: one without line feed runs on into what follows it.
  CTagList open_ends;
  Add(open_ends, {u"Bare", 1, 2, u"", {u"P\n", u"long "}, {}, {u"H"}});
  EXPECT_EQ(Saved(open_ends),
            std::u16string(kHeader) + u"#1|Bare|1|2\n#Parameters\nP\nlong #Alarm\n#History\nH#");
  CTagList no_rest_end;
  Add(no_rest_end, {u"Open", 3, 4, u"|rest", {}, {}, {}});
  Add(no_rest_end, {u"Other", 5, 6, u"|x\n", {}, {}, {}});
  const std::vector<Tag> reloaded = Tags(*Load(Saved(no_rest_end)));
  ExpectComplete(true);
  ASSERT_EQ(reloaded.size(), 2u);
}

// Where a tag line is expected, a short line ends the file. The load then
// took everything only if nothing but blank lines follows.
TEST_F(TagListTest, ShortLineEndsTheFile) {
  const std::u16string tag = u"#1|A|1|2|r\n#Parameters\n#Alarm\n#History\n";
  const std::u16string header(kHeader);
  EXPECT_TRUE(Load(header + u"\n" + tag)->m_tags.IsEmpty());
  ExpectStoppedAt(true, 3);
  EXPECT_TRUE(Load(header + u"\n\n \t\n")->m_tags.IsEmpty());
  ExpectComplete(true);
  EXPECT_EQ(Load(header + tag + u"#\n\n" + tag)->m_tags.GetCount(), 1u);
  ExpectStoppedAt(true, 8);
  EXPECT_EQ(Load(header + tag + u"#\n  \n")->m_tags.GetCount(), 1u);
  ExpectComplete(true);
  EXPECT_EQ(Load(header + tag + u"x\n")->m_tags.GetCount(), 1u);  // no "#": a section line
  ExpectComplete(false);
  EXPECT_EQ(Load(header + tag + u"#x")->m_tags.GetCount(), 1u);
  ExpectStoppedAt(true, 6);
  EXPECT_EQ(Load(header + u"a\n")->m_tags.GetCount(), 0u);
  ExpectStoppedAt(true, 2);
}

// Malformed tag lines stop the load; the tags before them stay.
TEST_F(TagListTest, MalformedTagLinesStopTheLoad) {
  const std::u16string good = u"#1|A|1|2|r\n#Parameters\n#Alarm\n#History\n";
  // Right after the header any line is a tag line...
  for (const std::u16string bad : {u"|B|1|2\n", u"//second header\n", u"B|1|2\n", u"#9||1|2\n"}) {
    SCOPED_TRACE(Utf16ToUtf8(bad));
    EXPECT_TRUE(Load(std::u16string(kHeader) + bad + good)->m_tags.IsEmpty());
    ExpectStoppedAt(false, 2);
  }
  // ...after a tag, only a line that begins with "#".
  for (const std::u16string bad : {u"#9|B|1\n", u"#9||1|2\n", u"#9 B 1 2\n"}) {
    SCOPED_TRACE(Utf16ToUtf8(bad));
    EXPECT_EQ(Load(std::u16string(kHeader) + good + bad + good)->m_tags.GetCount(), 1u);
    ExpectStoppedAt(false, 6);
  }
}

TEST_F(TagListTest, SectionHeadersMatchOnlyWholeLines) {
  const std::u16string start = std::u16string(kHeader) + u"#1|A|1|2|r\n";
  for (const std::u16string bad : {u"#parameters\n", u"#Parameters \n", u"#Param\n", u"P\n"}) {
    SCOPED_TRACE(Utf16ToUtf8(bad));
    EXPECT_EQ(Load(start + bad + u"#Alarm\n#History\n#")->m_tags.GetCount(), 1u);
    ExpectStoppedAt(false, 3);
  }
  Load(start + u"#Parameters\nP\n#History\n#");
  ExpectStoppedAt(false, 5);
  Load(start + u"#Parameters\n#Alarm\n#Alarm\n#");
  ExpectStoppedAt(false, 5);
  // The last line of a file may be a header's beginning without line end.
  for (const std::u16string end : {u"#", u"#Par", u"#Parameters"}) {
    Load(start + end);
    ExpectComplete(true);
  }
  Load(start + u"#Parameters\n#Alarm\n#Hist");
  ExpectComplete(true);
}

TEST_F(TagListTest, FileEndsEarly) {
  const std::u16string start = std::u16string(kHeader) + u"#1|A|1|2|r\n";
  Load(start);
  ExpectComplete(true);
  Load(start + u"#Parameters\n");
  ExpectComplete(true);
  // Inside a section: every tag is there, the result is false.
  auto list = Load(start +
                   u"#Parameters\n#Alarm\n#History\n#2|B|1|2\n#Parameters\n"
                   u"#Alarm\n#History\nH1\nH2");
  ExpectComplete(false);
  EXPECT_EQ(list->m_tags.GetCount(), 2u);
  ASSERT_NE(FindTag(*list, u"B"), nullptr);
  // The last line, cut off by the end of the file, gets its line feed.
  EXPECT_EQ(AsStrings(FindTag(*list, u"B")->m_historyLines), (Strings{u"H1\n", u"H2\n"}));
}

TEST_F(TagListTest, SameNameReplacesDifferentCaseAdds) {
  const std::u16string blocks =
      u"#1|Pump|1|2|first\n#Parameters\nold\n#Alarm\n#History\n"
      u"#2|PUMP|1|2|x\n#Parameters\n#Alarm\n#History\n"
      u"#3|Pump|3|4|second\n#Parameters\n#Alarm\n#History\n#";
  auto list = Load(std::u16string(kHeader) + blocks);
  ExpectComplete(true);
  EXPECT_EQ(list->m_tags.GetCount(), 2u);
  ASSERT_NE(FindTag(*list, u"Pump"), nullptr);
  EXPECT_EQ(FindTag(*list, u"Pump")->m_rest, u"|second\n");
  EXPECT_TRUE(FindTag(*list, u"Pump")->m_parameterLines.empty());
  EXPECT_NE(FindTag(*list, u"PUMP"), nullptr);
}

TEST_F(TagListTest, LongLines) {
  // A rest this long is also written on its own, not copied into the line.
  const std::u16string rest = u"|" + std::u16string(5000, u'r') + u"\n";
  const std::u16string section(3000, u's');
  const std::u16string hashed = std::u16string(1022, u'h') + u"#not a header\n";
  // Tag lines are joined; section lines stay pieces and write back whole.
  const std::u16string text = std::u16string(kHeader) + u"#1|Long|1|2" + rest + u"#Parameters\n" +
                              section + u"\n#Alarm\n#History\n#2|" + std::u16string(1100, u'N') +
                              u"|3|4" + rest + u"#Parameters\n#Alarm\n#History\n#";
  auto list = Load(text);
  ExpectComplete(true);
  ASSERT_NE(FindTag(*list, u"Long"), nullptr);
  EXPECT_EQ(FindTag(*list, u"Long")->m_rest, rest);
  EXPECT_EQ(
      AsStrings(FindTag(*list, u"Long")->m_parameterLines),
      (Strings{section.substr(0, 1022), section.substr(0, 1022), section.substr(0, 956) + u"\n"}));
  ASSERT_NE(FindTag(*list, std::u16string(1100, u'N')), nullptr);
  const auto again = Load(Saved(*list));
  ExpectComplete(true);
  EXPECT_EQ(Tags(*again).size(), 2u);
  EXPECT_EQ(Saved(*again).size(), text.size());

  // A piece that begins with "#" ends the section: this file stops there,
  // on the long line's own number.
  Load(std::u16string(kHeader) + u"#1|A|1|2\n#Parameters\n" + section + u"\n" + hashed +
       u"#Alarm\n#History\n#");
  ExpectStoppedAt(false, 5);
}

// The bucket of a name: 17 buckets over a hash of every stride-th unit.
std::uint32_t Bucket(std::u16string_view name) {
  std::uint32_t h = 2166136261u;
  const std::size_t stride = 1 + name.size() / 10;
  for (std::size_t i = 0; i < name.size(); i += stride) h = (16777619u * h) ^ name[i];
  return h % 17;
}

// Written order: bucket 0 to 16, and within a bucket the latest name read
// first; so each load and save reverses the order within buckets.
TEST_F(TagListTest, MapOrderDecidesTheWrittenOrder) {
  std::vector<std::u16string> names;
  for (int i = 0; i < 60; ++i) names.push_back(u"Tag" + Utf8ToUtf16(std::to_string(i * 7919)));
  names.push_back(u"A long tag name that strides over its characters");
  std::u16string text(kHeader);
  for (const auto& name : names) {
    text += u"#1|" + name + u"|1|2|r\n#Parameters\n#Alarm\n#History\n";
  }
  auto list = Load(text + u"#");
  ExpectComplete(true);
  std::vector<std::u16string> expected = names;
  std::reverse(expected.begin(), expected.end());
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return Bucket(a) < Bucket(b); });
  std::vector<std::u16string> order;
  for (const Tag& tag : Tags(*list)) order.push_back(tag.name);
  EXPECT_EQ(order, expected);

  // Replacing a record keeps the name's place.
  Add(*list, {expected[5], 9, 9, u"|new\n", {}, {}, {}});
  order.clear();
  for (const Tag& tag : Tags(*list)) order.push_back(tag.name);
  EXPECT_EQ(order, expected);
}

// Entries taken over from another map join as SetAt would add them and stay
// where they are, while later entries go on filling this map's own blocks.
TEST(TagMapTest, TakenOverEntriesJoinAsAddedAndSurviveLaterAdditions) {
  std::vector<std::u16string> names;
  for (int i = 0; i < 9000; ++i) names.push_back(u"Tag" + Utf8ToUtf16(std::to_string(i)));
  const auto item = [](int i, std::int32_t type) {
    CDatabaseItem record;
    record.m_number = i;
    record.m_type = type;
    return record;
  };
  TagMap mine, other, expected;
  for (int i = 0; i < 5500; ++i) (i < 2000 ? mine : other).SetAt(names[i], item(i, 1));
  for (int i = 0; i < 2000; ++i) expected.SetAt(names[i], item(i, 1));
  std::vector<const TagMap::Entry*> taken;
  for (const TagMap::Entry* entry : other.InIterationOrder()) {
    if (entry->item.m_number % 2 == 0) taken.push_back(entry);
  }
  for (const TagMap::Entry* entry : taken)
    expected.SetAt(entry->name, item(entry->item.m_number, 7));
  mine.TakeOver(std::move(other), taken, [](CDatabaseItem& record) { record.m_type = 7; });
  EXPECT_TRUE(other.IsEmpty());  // NOLINT(bugprone-use-after-move): left empty on purpose
  for (int i = 5500; i < 9000; ++i) {
    mine.SetAt(names[i], item(i, 2));
    expected.SetAt(names[i], item(i, 2));
  }
  const auto contents = [](const TagMap& map) {
    std::vector<std::tuple<std::u16string_view, std::int32_t, std::int32_t>> all;
    map.ForEach(
        [&](const TagMap::Entry& e) { all.emplace_back(e.name, e.item.m_number, e.item.m_type); });
    return all;
  };
  EXPECT_EQ(mine.GetCount(), expected.GetCount());
  EXPECT_EQ(contents(mine), contents(expected));
}

// Line ends the reader cannot see: the file would load as its header alone.
TEST_F(TagListTest, HeaderMustBeOnePlainLine) {
  const std::u16string tags = TagFile(TagBlock(u"A", u"1|2|r") + TagBlock(u"B", u"3|4|s", u"P\n"));
  std::u16string cr_only = tags;
  std::replace(cr_only.begin(), cr_only.end(), u'\n', u'\r');
  std::u16string swapped;  // big-endian units read as little-endian
  for (char16_t c : tags) swapped += static_cast<char16_t>((c << 8) | (c >> 8));
  std::u16string long_cr_only;
  for (int i = 0; i < 40; ++i) long_cr_only += cr_only;
  const std::string eight_bit(cr_only.begin(), cr_only.end());
  for (const std::string& bytes :
       {Utf16LeBytes(u"\uFEFF" + cr_only), Utf16LeBytes(u"\uFEFF" + long_cr_only), eight_bit,
        Utf16LeBytes(swapped), Utf16LeBytes(u"\uFFFE" + swapped),
        Utf16LeBytes(u"\uFEFF" + std::u16string(1100, u'h') + u"\n#1|A|1|2\n")}) {
    EXPECT_EQ(LoadBytes(bytes)->m_tags.GetCount(), 0u);
    ExpectStoppedAt(true, 1);
  }
  // A header without line end that is the whole file is still a header.
  Load(u"//4.x - Application Tags");
  ExpectComplete(true);
}

// A NUL cuts its chunk short; what it hides must not vanish silently.
TEST_F(TagListTest, TextHiddenByANulIsRefusedAtItsLine) {
  const std::u16string before = std::u16string(kHeader) + TagBlock(u"A", u"1|2|r", u"P\n");
  std::u16string hidden = before + u"x";
  hidden += char16_t{0};
  hidden += TagBlock(u"B", u"3|4|s") + u"#";
  EXPECT_EQ(Load(hidden)->m_tags.GetCount(), 1u);
  ExpectStoppedAt(false, 7);
  // NUL padding hides nothing.
  std::u16string padded = std::u16string(kHeader) + TagBlock(u"A", u"1|2|r") + u"#";
  padded.append(3000, char16_t{0});
  EXPECT_EQ(Load(padded)->m_tags.GetCount(), 1u);
  ExpectComplete(true);
}

// Lines cut off by the end of the file get the line feed they lack; every
// other piece is kept as read, so a long section line running into the next
// header on the same line writes back as it stood.
TEST_F(TagListTest, PiecesWriteBackExactlyAsRead) {
  const std::u16string piece(1022, u'p');
  const std::u16string text = std::u16string(kHeader) + u"#1|A|1|2|r\n#Parameters\n" + piece +
                              u"#Alarm\nlong " + piece.substr(5) + u"#History\n#";
  auto list = Load(text);
  ExpectComplete(true);
  EXPECT_EQ(AsStrings(FindTag(*list, u"A")->m_parameterLines), Strings{piece});
  EXPECT_EQ(Saved(*list), text);

  // Cut off: a full piece takes its line feed as a piece of its own, as the
  // file with a line feed at its end would give.
  list = Load(std::u16string(kHeader) + u"#1|A|1|2|r\n#Parameters\n#Alarm\n#History\na\n" + piece);
  ExpectComplete(false);
  EXPECT_EQ(AsStrings(FindTag(*list, u"A")->m_historyLines), (Strings{u"a\n", piece, u"\n"}));
  list = Load(std::u16string(kHeader) + u"#1|A|1|2|r");
  EXPECT_EQ(FindTag(*list, u"A")->m_rest, u"|r\n");
}

// Numbers beyond 32 bits saturate instead of wrapping onto small values.
TEST_F(TagListTest, NumbersSaturate) {
  auto list = Load(TagFile(TagBlock(u"A", u"4294967296|4294967300|r") +
                           TagBlock(u"B", u"-99999999999|-4294967292|r")));
  ExpectComplete(true);
  EXPECT_EQ(FindTag(*list, u"A")->m_number, 2147483647);
  EXPECT_EQ(FindTag(*list, u"A")->m_type, 2147483647);
  EXPECT_EQ(FindTag(*list, u"B")->m_number, -2147483647 - 1);
  EXPECT_EQ(FindTag(*list, u"B")->m_type, -2147483647 - 1);
}

// A written list loads back to the same records; the second load and save
// gives the first file's bytes again.
// Blocks of tags are saved on two threads; one tag too long for a block is
// saved in its place by the writing thread.
TEST_F(TagListTest, RoundTrip) {
  CTagList list;
  for (int i = 0; i < 3000; ++i) {
    const std::u16string n = Utf8ToUtf16(std::to_string(i));
    Tag tag{u"T\u00E4g " + n,
            i * 37 - 500,
            i % 9,
            i % 7 == 0 ? u"" : u"|rest " + n + u"|x\n",
            {},
            {},
            {}};
    for (int l = 0; l < i % 11; ++l) {
      Strings& lines = l % 3 == 0 ? tag.parameters : l % 3 == 1 ? tag.alarm : tag.history;
      lines.push_back(l == 4 ? u"\n" : u"line " + n + u" \u263A\n");
    }
    if (i == 1500) tag.history.push_back(std::u16string(300000, u'h') + u"\n");
    Add(list, tag);
  }
  ASSERT_TRUE(list.SaveTagFile(path_));
  const std::string first = ReadBytes(path_);
  EnvWrapper one_thread(Env::Default());
  ASSERT_TRUE(list.SaveTagFile(out_, &one_thread));
  EXPECT_EQ(ReadBytes(out_), first);

  CTagList loaded;
  EXPECT_TRUE(loaded.LoadTagFile(path_, &report_));
  EXPECT_TRUE(report_.complete);
  std::vector<Tag> a = Tags(list), b = Tags(loaded);
  auto by_name = [](const Tag& x, const Tag& y) { return x.name < y.name; };
  std::sort(a.begin(), a.end(), by_name);
  std::sort(b.begin(), b.end(), by_name);
  EXPECT_EQ(a, b);

  ASSERT_TRUE(loaded.SaveTagFile(out_));
  CTagList twice;
  EXPECT_TRUE(twice.LoadTagFile(out_));
  ASSERT_TRUE(twice.SaveTagFile(out_));
  EXPECT_EQ(ReadBytes(out_), first);
}

}  // namespace
}  // namespace junctra
