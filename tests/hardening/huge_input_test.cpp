// Databases far larger than a plant's: the built program merges them
// correctly and its peak memory stays within three times the input size.
#include <gtest/gtest.h>

#include <iostream>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "tests/hardening/hardening_support.h"
#include "tests/records.h"
#include "tests/tag_lookup.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

class HugeInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto* p : {&a_, &b_, &out_}) std::filesystem::create_directory(*p);
  }

  std::uintmax_t InputBytes() const {
    std::uintmax_t total = 0;
    for (const auto* folder : {&a_, &b_}) {
      for (const auto& entry : std::filesystem::directory_iterator(*folder)) {
        total += entry.file_size();
      }
    }
    return total;
  }

  // Merges a and b into out with the program; checks that it succeeds and
  // that its memory, beyond what it takes for a tiny database, stays within
  // three times the input size.
  void MergeWithinMemory(const char* what) {
    const MeasuredRun run = RunMeasured({a_.string(), b_.string(), out_.string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const double input_mb = static_cast<double>(InputBytes()) / (1 << 20);
    const double used_mb = static_cast<double>(run.peak_rss_kb - BaselineRssKb()) / 1024;
    std::cout << "[ huge input ] " << what << ": " << input_mb << " MiB in, " << used_mb
              << " MiB peak beyond the baseline, " << run.seconds << " s\n";
    if (!kSanitized) {
      EXPECT_LE(used_mb, 3 * input_mb) << what;
    }
  }

  long BaselineRssKb() {
    static long baseline = [] {
      TempDir tiny;
      WriteDatabaseFile(tiny.path() / "tagl.txt", GeneratedTags(u"T", 1));
      return RunMeasured({tiny.path().string(), tiny.path().string(), tiny.path().string()})
          .peak_rss_kb;
    }();
    return baseline;
  }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b", out_ = dir_.path() / "out";
};

TEST_F(HugeInputTest, AMillionTags) {
  if (kSanitized) GTEST_SKIP() << "too slow under the sanitizers";
  constexpr std::size_t kCount = 1000000;
  {
    Utf16FileWriter tags(a_ / "tagl.txt");
    tags << u"//4.x - Application Tags\n";
    for (std::size_t i = 0; i < kCount; ++i) {
      tags << u"#" << i + 1 << u"|T" << i << u"|" << i << u"|1|Tank level\n"
           << u"#Parameters\nAddress=" << i << u"\n#Alarm\n#History\n";
    }
    tags << u"#";
  }
  // The second database shares one tag and adds one.
  WriteDatabaseFile(b_ / "tagl.txt",
                    TagFile(TagBlock(u"t999999", u"999999|1|Tank level", u"Address=999999\n") +
                            TagBlock(u"Extra", u"1|1|x")));
  MergeWithinMemory("1,000,000 tags");

  CTagList merged;
  LoadReport report;
  ASSERT_TRUE(merged.LoadTagFile(out_ / "tagl.txt", &report));
  EXPECT_TRUE(report.complete);
  EXPECT_EQ(merged.m_tags.GetCount(), kCount + 1);
  ASSERT_NE(FindTag(merged, u"T999999"), nullptr);
  EXPECT_EQ(AsStrings(FindTag(merged, u"T123456")->m_parameterLines),
            std::vector<std::u16string>{u"Address=123456\n"});
  EXPECT_NE(FindTag(merged, u"Extra"), nullptr);
}

TEST_F(HugeInputTest, ASectionLineOfAMillionCharacters) {
  // Any character but "#", which would begin a section header where the
  // line is cut into pieces of the read limit.
  std::u16string line;
  for (std::size_t i = 0; i < 1000000; ++i) line.push_back(static_cast<char16_t>(u'$' + i % 90));
  WriteDatabaseFile(a_ / "tagl.txt",
                    TagFile(TagBlock(u"Long", u"1|1|x", u"Before\n" + line + u"\nAfter\n")));
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"Other", u"2|1|y")));
  MergeWithinMemory("a line of 1,000,000 characters");

  CTagList merged;
  LoadReport report;
  ASSERT_TRUE(merged.LoadTagFile(out_ / "tagl.txt", &report));
  ASSERT_TRUE(report.complete);
  const CDatabaseItem* tag = FindTag(merged, u"Long");
  ASSERT_NE(tag, nullptr);
  // Read back in pieces of the read limit; together they are the line.
  std::u16string joined;
  for (const std::u16string_view piece : tag->m_parameterLines) joined += piece;
  EXPECT_EQ(joined, u"Before\n" + line + u"\nAfter\n");
  EXPECT_NE(FindTag(merged, u"Other"), nullptr);
}

// A line is read in pieces of 1022 characters, and a piece that begins with
// "#" ends its section; the file is then refused rather than cut short.
TEST_F(HugeInputTest, ALongLineWithAHeaderWhereItIsCut) {
  std::u16string line(1000000, u'a');
  line[1022 * 7] = u'#';
  WriteDatabaseFile(a_ / "tagl.txt",
                    TagFile(TagBlock(u"Long", u"1|1|x", u"Before\n" + line + u"\n") +
                            TagBlock(u"Next", u"2|1|y")));
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"Other", u"2|1|y")));
  const RunResult run = RunProgram({a_.string(), b_.string(), out_.string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "Error reading file " + (a_ / "tagl.txt").string() + " at line 5\n");
  EXPECT_TRUE(std::filesystem::is_empty(out_));
}

// A database larger than the memory the program may have is refused as a
// read error, not a crash, and nothing is written.
TEST_F(HugeInputTest, ADatabaseLargerThanMemoryIsRefused) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers need more address space than the limit";
  const auto tags = b_ / "tagl.txt";
  WriteDatabaseFile(a_ / "tagl.txt", GeneratedTags(u"A", 3));
  WriteDatabaseFile(tags, GeneratedTags(u"B", 3));
  std::filesystem::resize_file(tags, std::uintmax_t{64} << 30);  // NUL padding, sparse
  const MeasuredRun run =
      RunMeasured({a_.string(), b_.string(), out_.string()}, std::uint64_t{1} << 30);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "Error reading file " + tags.string() + " at line 1\n" + tags.string() +
                         ": Cannot allocate memory\n");
  EXPECT_TRUE(std::filesystem::is_empty(out_));
}

TEST_F(HugeInputTest, AHundredThousandClasses) {
  constexpr std::size_t kCount = 100000;
  WriteDatabaseFile(a_ / "class.lst", GeneratedClasses(u"C", kCount));
  // The second shares half of them and brings 50,000 more, in its own
  // order; its last tag names its last class.
  WriteDatabaseFile(b_ / "class.lst", GeneratedClasses(u"C", kCount, kCount / 2));
  WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(u"A", u"1|4|x")));
  WriteDatabaseFile(b_ / "tagl.txt",
                    TagFile(TagBlock(u"B", u"1|" + Utf16Number(4 + kCount - 1) + u"|x")));
  MergeWithinMemory("100,000 classes");

  CClassList merged;
  LoadReport report;
  merged.LoadClassFile(out_ / "class.lst", &report);
  ASSERT_TRUE(report.complete);
  ASSERT_EQ(merged.m_classNames.size(), kCount + kCount / 2);
  EXPECT_EQ(merged.m_classNames.back(), u"C" + Utf16Number(kCount + kCount / 2 - 1));
  CTagList tags;
  ASSERT_TRUE(tags.LoadTagFile(out_ / "tagl.txt"));
  ASSERT_NE(FindTag(tags, u"B"), nullptr);
  // Class C149999 stands at the end of the merged list.
  EXPECT_EQ(FindTag(tags, u"B")->m_type, static_cast<int>(4 + kCount + kCount / 2 - 1));
}

}  // namespace
}  // namespace junctra
