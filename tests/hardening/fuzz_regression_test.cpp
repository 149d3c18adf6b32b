// What the fuzz harnesses found, kept as plain tests: each input is also in
// the harness's seed corpus (tests/fuzz/corpus).
#include <gtest/gtest.h>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "tests/database_files.h"
#include "tests/records.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// A member line of separators and a line feed gave a member with an empty
// name, which the writer leaves out: the list changed on its way through a
// file.
TEST(FuzzRegressionTest, SeparatorsAloneMakeNoMember) {
  TempDir dir;
  WriteDatabaseFile(dir.path() / "class.lst",
                    u"V4.x - CLASS LIST\nClass:Pump\n|\nSpeed|0|2|rpm\n|||\n");
  CClassList list;
  LoadReport report;
  list.LoadClassFile(dir.path() / "class.lst", &report);
  EXPECT_TRUE(report.complete);
  ASSERT_EQ(list.m_classInfos.size(), 1u);
  EXPECT_EQ(AsStrings(list.m_classInfos[0].m_memberNames), std::vector<std::u16string>{u"Speed"});

  ASSERT_TRUE(list.SaveClassFile(dir.path() / "saved"));
  CClassList again;
  again.LoadClassFile(dir.path() / "saved");
  ASSERT_EQ(again.m_classInfos.size(), 1u);
  EXPECT_FALSE(again.m_classInfos[0].IsDifferent(list.m_classInfos[0]));
  EXPECT_EQ(ReadBytes(dir.path() / "saved"),
            Utf16FileBytes(u"V4.x - CLASS LIST\nClass:Pump\nSpeed|0|2|rpm\n"));
}

// A member line that begins with a separator may name a member "Class:...";
// written as it stood, the member came back as a class of its own.
TEST(FuzzRegressionTest, AMemberNamedLikeAClassLineStaysAMember) {
  TempDir dir;
  WriteDatabaseFile(dir.path() / "class.lst",
                    u"V4.x - CLASS LIST\nClass:Pump\n|Class:Valve|0|2|rpm\n");
  CClassList list;
  list.LoadClassFile(dir.path() / "class.lst");
  ASSERT_EQ(AsStrings(list.m_classNames), std::vector<std::u16string>{u"Pump"});
  EXPECT_EQ(AsStrings(list.m_classInfos[0].m_memberNames),
            std::vector<std::u16string>{u"Class:Valve"});

  ASSERT_TRUE(list.SaveClassFile(dir.path() / "saved"));
  EXPECT_EQ(ReadBytes(dir.path() / "saved"),
            Utf16FileBytes(u"V4.x - CLASS LIST\nClass:Pump\n|Class:Valve|0|2|rpm\n"));
  CClassList again;
  again.LoadClassFile(dir.path() / "saved");
  EXPECT_EQ(again.m_classNames, list.m_classNames);
  ASSERT_EQ(again.m_classInfos.size(), 1u);
  EXPECT_FALSE(again.m_classInfos[0].IsDifferent(list.m_classInfos[0]));
}

}  // namespace
}  // namespace junctra
