#include "merge/three_way_merge.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

#include "merge/conflict_detail.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "tests/records.h"

namespace junctra {
namespace {

const ResourceModule& kStrings = ResourceModule::BuiltIn();

// Databases described by names and values: a class has one member whose
// text is its value; a tag names its class by name (empty: code 0) and
// holds its value in the rest of its line.
struct ClassDef {
  std::u16string name;
  int value = 0;
  bool operator==(const ClassDef&) const = default;
};
struct TagDef {
  std::u16string name;
  int number = 1;
  std::u16string class_name;
  int value = 0;
};
struct Db {
  std::vector<ClassDef> classes;
  std::vector<TagDef> tags;
};

std::u16string Text(int value) { return Utf8ToUtf16("v" + std::to_string(value)); }
std::u16string Folded(std::u16string text) {
  for (char16_t& c : text) c = FoldAsciiCase(c);
  return text;
}

CClassList ClassesOf(const Db& db) {
  CClassList list;
  for (const ClassDef& c : db.classes) {
    list.AddClass(Kept(c.name), Members({u"M"}, {1}, {Text(c.value)}));
  }
  return list;
}

CTagList TagsOf(const Db& db) {
  CTagList list;
  for (const TagDef& t : db.tags) {
    std::int32_t code = 0;
    for (std::size_t i = 0; i < db.classes.size() && !t.class_name.empty(); ++i) {
      if (Folded(db.classes[i].name) == Folded(t.class_name)) {
        code = static_cast<std::int32_t>(4 + i);
        break;
      }
    }
    list.m_tags.SetAt(Kept(t.name), Tag(t.number, code, u"|" + Text(t.value) + u"\n"));
  }
  return list;
}

// What a merge gave, back in the terms of Db, and its conflicts as
// (class?, folded name).
struct Outcome3 {
  Db result;
  std::set<std::pair<bool, std::u16string>> conflicts;
  ConflictList lines;
};

Outcome3 Merge(const Db& first, const Db& second, const Db* base, const Decisions& decisions = {}) {
  ThreeWayMerge merge(decisions, kStrings);
  Outcome3 out;
  const Db none;
  const Db& b = base != nullptr ? *base : none;
  if (merge.MergeClasses(ClassesOf(first), ClassesOf(second), ClassesOf(b), out.lines) &&
      merge.MergeTags(TagsOf(first), TagsOf(second), TagsOf(b), out.lines)) {
    const CClassList& classes = merge.classes();
    for (std::size_t i = 0; i < classes.m_classNames.size(); ++i) {
      const std::u16string text(classes.m_classInfos[i].m_memberTexts.at(0));
      out.result.classes.push_back(
          {std::u16string(classes.m_classNames[i]), std::stoi(Utf16ToUtf8(text.substr(1)))});
    }
    merge.tags().m_tags.ForEach([&](const TagMap::Entry& e) {
      const std::int32_t code = e.item.m_type;
      const std::u16string class_name =
          code >= 4 ? std::u16string(classes.m_classNames.at(static_cast<std::size_t>(code - 4)))
                    : u"";
      const std::u16string rest(e.item.m_rest);
      out.result.tags.push_back({std::u16string(e.name), e.item.m_number, class_name,
                                 std::stoi(Utf16ToUtf8(rest.substr(2, rest.size() - 3)))});
    });
  }
  for (const Conflict& c : out.lines) out.conflicts.insert({c.is_class, Folded(c.name)});
  return out;
}

// The rule, one row a case, for classes and for tags: values of FIRST,
// SECOND and the base (0: absent), the value the result has (0: none) and
// the conflict line's end when the row conflicts.
struct Row {
  int f, s, b, result;
  const char16_t* conflict;
};
constexpr Row kRows[] = {
    {1, 1, 9, 1, nullptr},  // equal: FIRST's, whatever the base
    {1, 2, 0, 0, u"has different definitions"},
    {1, 2, 1, 2, nullptr},  // changed only in SECOND
    {1, 2, 2, 1, nullptr},  // changed only in FIRST
    {1, 2, 3, 0, u"has different definitions"},
    {1, 0, 0, 1, nullptr},  // added in FIRST
    {1, 0, 1, 0, nullptr},  // deleted in SECOND
    {1, 0, 2, 0, u"was changed in the first database and deleted in the second"},
    {0, 2, 0, 2, nullptr},  // added in SECOND
    {0, 2, 2, 0, nullptr},  // deleted in FIRST
    {0, 2, 3, 0, u"was deleted in the first database and changed in the second"},
};

TEST(ThreeWayMergeTest, EachRowOfTheRuleForClassesAndTags) {
  for (const bool is_class : {true, false}) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(testing::Message() << (is_class ? "class " : "tag ") << row.f << row.s << row.b);
      Db dbs[3];
      for (int i = 0; i < 3; ++i) {
        const int value = i == 0 ? row.f : i == 1 ? row.s : row.b;
        if (value == 0) continue;
        // SECOND spells the name otherwise: a taken definition keeps FIRST's.
        const std::u16string name = i == 1 ? u"PUMP" : u"Pump";
        if (is_class) dbs[i].classes.push_back({name, value});
        if (!is_class) dbs[i].tags.push_back({name, 1, u"", value});
      }
      const Outcome3 out = Merge(dbs[0], dbs[1], &dbs[2]);
      if (row.conflict != nullptr) {
        ASSERT_EQ(out.lines.size(), 1u);
        const Conflict& c = out.lines[0];
        EXPECT_NE(c.line.find(row.conflict), std::u16string::npos) << Utf16ToUtf8(c.line);
        EXPECT_EQ(c.is_class, is_class);
        EXPECT_EQ(c.detail.base.empty(), row.b == 0);  // the base's version beside both
        continue;
      }
      EXPECT_TRUE(out.lines.empty());
      const std::size_t count = is_class ? out.result.classes.size() : out.result.tags.size();
      ASSERT_EQ(count, row.result != 0 ? 1u : 0u);
      if (row.result == 0) continue;
      const std::u16string& name = is_class ? out.result.classes[0].name : out.result.tags[0].name;
      EXPECT_EQ(name, row.f != 0 ? u"Pump" : u"PUMP");
      EXPECT_EQ(is_class ? out.result.classes[0].value : out.result.tags[0].value, row.result);
    }
  }
}

// The rule written plainly over whole databases, for the randomised
// comparison: by folded name, with classes compared by name.
template <class Def>
const Def* Find(const std::vector<Def>& defs, const std::u16string& folded) {
  for (const Def& d : defs) {
    if (Folded(d.name) == folded) return &d;
  }
  return nullptr;
}

bool Same(const ClassDef& a, const ClassDef& b) { return a.value == b.value; }
bool Same(const TagDef& a, const TagDef& b) {
  return a.number == b.number && a.value == b.value && Folded(a.class_name) == Folded(b.class_name);
}

// The rule written plainly over whole databases, for the randomised
// comparison, by folded name. Every name of both sides with what the rule
// gives it, spelt as FIRST
// spells it (as SECOND when FIRST lacks it), in FIRST's order and then
// SECOND's.
template <class Def>
std::vector<Def> ModelMerge(const std::vector<Def>& f, const std::vector<Def>& s,
                            const std::vector<Def>& b, std::optional<Side> take, bool is_class,
                            std::set<std::pair<bool, std::u16string>>* conflicts,
                            std::vector<Def>* deleted) {
  std::vector<Def> result;
  std::vector<const Def*> names;
  for (const Def& d : f) names.push_back(&d);
  for (const Def& d : s) {
    if (!Find(f, Folded(d.name))) names.push_back(&d);
  }
  for (const Def* name : names) {
    const std::u16string folded = Folded(name->name);
    const Def* fd = Find(f, folded);
    const Def* sd = Find(s, folded);
    const Def* bd = Find(b, folded);
    const auto same = [](const Def* x, const Def* y) { return x && y && Same(*x, *y); };
    const Def* const there = fd ? fd : sd;
    bool conflict = false;
    const Def* pick = nullptr;  // none: deleted
    if (fd && sd && same(fd, sd)) {
      pick = fd;
    } else if (fd && sd && (same(bd, fd) || same(bd, sd))) {
      pick = same(bd, fd) ? sd : fd;
    } else if (!(fd && sd) && (!bd || same(there, bd))) {
      pick = bd ? nullptr : there;
    } else if (take) {
      pick = *take == Side::kFirst ? fd : sd;
    } else {
      conflict = true;
      conflicts->insert({is_class, folded});
    }
    if (pick) {
      result.push_back(*pick);
      result.back().name = name->name;
    } else if (!conflict) {
      deleted->push_back(*there);
    }
  }
  return result;
}

// Merges as the engine does and as the model does, and compares.
void ExpectAsTheModel(const Db& first, const Db& second, const Db* base, std::optional<Side> take) {
  const Db none;
  const Db& b = base != nullptr ? *base : none;
  std::set<std::pair<bool, std::u16string>> conflicts;
  std::vector<ClassDef> deleted_classes;
  std::vector<TagDef> deleted_tags;
  Db expected;
  expected.classes = ModelMerge(first.classes, second.classes, b.classes, take, true, &conflicts,
                                &deleted_classes);
  if (conflicts.empty()) {
    expected.tags =
        ModelMerge(first.tags, second.tags, b.tags, take, false, &conflicts, &deleted_tags);
    // A deleted class that a tag of the result names stays in its place.
    std::vector<ClassDef> classes;
    for (const Db* db : {&first, &second}) {
      for (const ClassDef& c : db->classes) {
        const std::u16string folded = Folded(c.name);
        if (db == &second && Find(first.classes, folded)) continue;
        const ClassDef* kept = Find(expected.classes, folded);
        const ClassDef* gone = Find(deleted_classes, folded);
        bool named = false;
        for (const TagDef& t : expected.tags) named = named || Folded(t.class_name) == folded;
        if (kept || (gone && named)) classes.push_back(kept ? *kept : *gone);
      }
    }
    expected.classes = classes;
  }
  const Outcome3 out = Merge(first, second, base, {take, {}});
  ASSERT_EQ(out.conflicts, conflicts);
  if (!conflicts.empty()) return;
  EXPECT_TRUE(out.result.classes == expected.classes);
  ASSERT_EQ(out.result.tags.size(), expected.tags.size());
  for (const TagDef& t : out.result.tags) {
    const TagDef* want = Find(expected.tags, Folded(t.name));
    EXPECT_TRUE(want && t.name == want->name && Same(t, *want)) << Utf16ToUtf8(t.name);
  }
}

// SECOND deletes Motor, which nothing names, and Fan and its tag; FIRST
// adds a tag of class Fan, which therefore stays: Pump's code moves to 4.
TEST(ThreeWayMergeTest, DeletionsMoveClassCodesAndANamedDeletedClassStays) {
  const Db base = {{{u"Motor", 1}, {u"Pump", 1}, {u"Valve", 1}, {u"Fan", 1}},
                   {{u"P1", 1, u"Pump"}, {u"V1", 1, u"Valve"}, {u"F1", 1, u"Fan"}}};
  Db first = base, second = base;
  second.classes = {{u"Pump", 1}, {u"Valve", 1}};
  second.tags = {{u"P1", 1, u"Pump"}, {u"V1", 1, u"Valve", 2}};
  first.tags.push_back({u"F2", 1, u"fan"});
  ExpectAsTheModel(first, second, &base, std::nullopt);
  const Outcome3 out = Merge(first, second, &base);
  EXPECT_TRUE(out.result.classes ==
              (std::vector<ClassDef>{{u"Pump", 1}, {u"Valve", 1}, {u"Fan", 1}}));
}

TEST(ThreeWayMergeTest, RandomEditsMergeAsTheRuleSays) {
  std::mt19937 random(20261209);
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  int value = 100;
  for (int round = 0; round < 300; ++round) {
    Db base;
    const int class_count = 2 + static_cast<int>(random() % 5);
    for (int i = 0; i < class_count; ++i) {
      base.classes.push_back({u"Class" + Utf8ToUtf16(std::to_string(i)), 1});
    }
    for (int i = 0; i < 20; ++i) {
      const std::u16string class_name =
          chance(70) ? base.classes[random() % base.classes.size()].name : u"";
      base.tags.push_back({u"Tag" + Utf8ToUtf16(std::to_string(i)), 1, class_name, 1});
    }
    // Each side changes, deletes, renames by case and adds; additions of
    // the same name on both sides meet.
    auto edit = [&](Db db, int side) {
      std::vector<ClassDef> classes;
      for (ClassDef c : db.classes) {
        if (chance(15)) continue;
        if (chance(15)) c.value = ++value;
        if (chance(10)) c.name[0] = FoldAsciiCase(c.name[0]);
        classes.push_back(c);
      }
      if (chance(30)) classes.push_back({u"NewClass", chance(50) ? 7 : ++value});
      db.classes = classes;
      std::vector<TagDef> tags;
      for (TagDef t : db.tags) {
        if (chance(15)) continue;
        if (chance(10)) t.value = ++value;
        if (chance(5)) t.number = side + 2;
        if (chance(10) || (!t.class_name.empty() && !Find(db.classes, Folded(t.class_name)))) {
          t.class_name = chance(50) && !db.classes.empty()
                             ? db.classes[random() % db.classes.size()].name
                             : u"";
        }
        if (chance(10)) t.name = Folded(t.name);
        tags.push_back(t);
      }
      for (int i = 0; i < 3; ++i) {
        if (chance(40)) tags.push_back({u"New" + Utf8ToUtf16(std::to_string(i)), 1, u"", 7});
      }
      db.tags = tags;
      return db;
    };
    const Db first = edit(base, 0), second = edit(base, 1);
    const bool with_base = !chance(20);
    const std::optional<Side> take =
        chance(50) ? std::nullopt : std::optional<Side>(chance(50) ? Side::kFirst : Side::kSecond);
    SCOPED_TRACE(testing::Message() << "round " << round);

    ExpectAsTheModel(first, second, with_base ? &base : nullptr, take);
  }
}

}  // namespace
}  // namespace junctra
