// The example databases: complete, consistent, and stable under saving.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "platform/text.h"
#include "tests/database/file_bytes.h"
#include "tests/records.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

std::filesystem::path Examples() {
  const char* source = std::getenv("JUNCTRA_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / "examples";
}

// A database's content in comparable form: classes in order, tags by name.
struct Database {
  std::vector<std::u16string> class_names;
  std::vector<std::tuple<std::vector<std::u16string>, std::vector<std::uint16_t>,
                         std::vector<std::u16string>>>
      classes;
  std::map<std::u16string,
           std::tuple<std::int32_t, std::int32_t, std::u16string, std::vector<std::u16string>,
                      std::vector<std::u16string>, std::vector<std::u16string>>>
      tags;
  bool operator==(const Database&) const = default;
};

Database Load(const std::filesystem::path& folder) {
  Database db;
  CClassList classes;
  LoadReport report;
  classes.LoadClassFile(folder / "class.lst", &report);
  EXPECT_TRUE(report.complete) << folder << " class.lst, line " << report.first_unread_line;
  db.class_names = AsStrings(classes.m_classNames);
  for (const CClassInfo& info : classes.m_classInfos) {
    db.classes.emplace_back(AsStrings(info.m_memberNames), info.m_memberTypes,
                            AsStrings(info.m_memberTexts));
  }
  CTagList tags;
  EXPECT_TRUE(tags.LoadTagFile(folder / "tagl.txt", &report)) << folder;
  EXPECT_TRUE(report.complete) << folder << " tagl.txt, line " << report.first_unread_line;
  tags.m_tags.ForEach([&db](const TagMap::Entry& e) {
    const CDatabaseItem& t = e.item;
    db.tags[std::u16string(e.name)] = {t.m_number,
                                       t.m_type,
                                       std::u16string(t.m_rest),
                                       AsStrings(t.m_parameterLines),
                                       AsStrings(t.m_alarmLines),
                                       AsStrings(t.m_historyLines)};
  });
  return db;
}

// Loading and saving a database gives files in the program's format that
// load to the same lists.
TEST(ExamplesTest, LoadCompletelyAndSurviveSaving) {
  for (const char* name : {"plant-a", "plant-b", "plant-c", "two-engineers/base",
                           "two-engineers/first", "two-engineers/second"}) {
    SCOPED_TRACE(name);
    const auto folder = Examples() / name;
    for (const char* file : {"class.lst", "tagl.txt"}) {
      EXPECT_TRUE(DecodeSystemFile(ReadBytes(folder / file)).has_value()) << file;
    }
    const Database db = Load(folder);
    EXPECT_GE(db.class_names.size(), 3u);
    EXPECT_GE(db.tags.size(), 8u);
    for (const auto& [tag, def] : db.tags) {
      // Type codes from 4 up name a class of the same database.
      EXPECT_LT(std::get<1>(def), static_cast<std::int32_t>(4 + db.class_names.size()))
          << Utf16ToUtf8(tag);
    }

    TempDir out;
    CClassList classes;
    classes.LoadClassFile(folder / "class.lst");
    ASSERT_TRUE(classes.SaveClassFile(out.path() / "class.lst"));
    CTagList tags;
    tags.LoadTagFile(folder / "tagl.txt");
    ASSERT_TRUE(tags.SaveTagFile(out.path() / "tagl.txt"));
    EXPECT_EQ(ReadBytes(out.path() / "class.lst"), ReadBytes(folder / "class.lst"));
    EXPECT_EQ(Load(out.path()), db);
  }
}

// plant-a and plant-b share classes and tags with the same definitions;
// plant-c differs from plant-a in exactly two tags.
TEST(ExamplesTest, SharedDefinitionsAgreeExceptTheTwoConflicts) {
  const Database a = Load(Examples() / "plant-a");
  const Database b = Load(Examples() / "plant-b");
  const Database c = Load(Examples() / "plant-c");
  auto differing = [](const Database& x, const Database& y, std::size_t* shared) {
    std::vector<std::u16string> names;
    *shared = 0;
    for (const auto& [name, def] : x.tags) {
      auto other = y.tags.find(name);
      if (other == y.tags.end()) continue;
      ++*shared;
      if (other->second != def) names.push_back(name);
    }
    for (std::size_t i = 0; i < x.class_names.size() && i < y.class_names.size(); ++i) {
      if (x.class_names[i] == y.class_names[i] && x.classes[i] != y.classes[i]) {
        names.push_back(u"class " + x.class_names[i]);
      }
    }
    return names;
  };
  std::size_t shared = 0;
  EXPECT_TRUE(differing(a, b, &shared).empty());
  EXPECT_GE(shared, 5u);
  EXPECT_EQ(differing(a, c, &shared), (std::vector<std::u16string>{u"P-101", u"TT-401"}));
  EXPECT_EQ(a.class_names, c.class_names);
}

}  // namespace
}  // namespace junctra
