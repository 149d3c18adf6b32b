// The dialogs' shared behaviour, without a toolkit: a recording view stands
// in for the dialog, so these run wherever the core runs.
#include "ui/main_dialog_logic.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>

#include "platform/resource_module.h"
#include "platform/text.h"
#include "tests/conflict_lines.h"
#include "tests/database_files.h"
#include "tests/recording_ui.h"
#include "tests/system_reason.h"
#include "tests/temp_dir.h"
#include "ui/error_list_logic.h"
#include "ui/result_line.h"

namespace junctra {
namespace {

class RecordingView : public Recording<MainDialogView> {
 public:
  void ShowFolders(const std::filesystem::path& first,
                   const std::filesystem::path& second) override {
    shown = {first, second};
  }
  void ShowBase(const std::filesystem::path& folder) override { base = folder; }
  void EnableMerge(bool enabled) override { merge_enabled = enabled; }
  void ShowResult(const std::u16string& text) override { result = text; }
  void FocusMerge() override { merge_focused = true; }
  std::pair<std::filesystem::path, std::filesystem::path> shown;
  std::filesystem::path base;
  std::optional<bool> merge_enabled;
  std::u16string result;
  bool merge_focused = false;
};

class MainDialogLogicTest : public testing::Test {
 protected:
  std::filesystem::path Database(const char* name, std::u16string_view blocks) {
    std::filesystem::path folder = dir_.path() / name;
    std::filesystem::create_directories(folder);
    WriteDatabaseFile(folder / "tagl.txt", TagFile(blocks));
    return folder;
  }
  // Select with two answers; nullopt cancels.
  void Select(const std::filesystem::path& first,
              const std::optional<std::filesystem::path>& second) {
    view_.answers = {first, second};
    logic_.OnSelect();
  }
  static std::filesystem::path WithSeparator(std::filesystem::path path) {
    path += std::filesystem::path::preferred_separator;
    return path;
  }

  TempDir dir_;
  RecordingView view_;
  MainDialogLogic logic_{view_, Env::Default()};
};

TEST_F(MainDialogLogicTest, SelectAsksAgainForEachFolderUntilItIsADatabase) {
  const auto a = Database("a", TagBlock(u"A", u"1|4|x"));
  const auto b = Database("b", TagBlock(u"B", u"2|4|x"));
  const auto empty = dir_.path() / "empty";
  std::filesystem::create_directories(empty);

  logic_.SetFolders(u"/from/start-up", {});
  logic_.OnInitDialog();
  EXPECT_EQ(view_.shown.first, u"/from/start-up");
  EXPECT_EQ(view_.merge_enabled, false);
  logic_.OnMerge();  // disabled: nothing asked
  EXPECT_TRUE(view_.prompts.empty());

  // No database, then a; a again, no database, then b: the first choice is
  // kept while the second is asked for again.
  view_.answers = {empty, a, a, empty, b};
  logic_.OnSelect();
  // Each with the file it lacks and why, as the message box shows it below.
  const std::u16string lacking = PathToUtf16(empty / "tagl.txt") + u": " +
                                 SystemReason(u"No such file or directory", kFileNotFound);
  EXPECT_EQ(view_.details, (std::vector<std::u16string>{lacking, u"", lacking}));
  EXPECT_EQ(view_.messages,
            (std::vector<std::u16string>{LoadResourceString(IDS_FIRST_NO_DATABASE), lacking,
                                         LoadResourceString(IDS_SELECT_DIFFERENT),
                                         LoadResourceString(IDS_SECOND_NO_DATABASE), lacking}));
  const std::u16string first = LoadResourceString(IDS_SELECT_FIRST);
  const std::u16string second = LoadResourceString(IDS_SELECT_SECOND);
  EXPECT_EQ(view_.prompts, (std::vector<std::u16string>{first, first, second, second, second}));
  // Asked again, the chooser opens where the user was.
  EXPECT_EQ(view_.starts,
            (std::vector<std::filesystem::path>{u"/from", empty, dir_.path(), a, empty}));
  EXPECT_EQ(logic_.first_folder(), WithSeparator(a));
  EXPECT_EQ(view_.shown.second, WithSeparator(b));
  EXPECT_EQ(view_.merge_enabled, true);
  EXPECT_TRUE(view_.merge_focused);

  Select(b, std::nullopt);  // cancelled: Merge stays enabled, the folders stay
  EXPECT_TRUE(logic_.merge_enabled());
  EXPECT_EQ(logic_.first_folder(), WithSeparator(a));
  EXPECT_EQ(logic_.second_folder(), WithSeparator(b));
}

TEST_F(MainDialogLogicTest, MergeShowsConflictsOrWritesWhereTheUserChooses) {
  const auto a = Database("a", TagBlock(u"Level", u"1|4|x") + TagBlock(u"Pump", u"2|4|x"));
  const auto b = Database("b", TagBlock(u"Level", u"9|4|x") + TagBlock(u"Valve", u"3|4|x"));
  const auto c = Database("c", TagBlock(u"Valve", u"3|4|x"));
  const auto out = dir_.path() / "out";
  std::filesystem::create_directories(out);

  Select(a, b);
  logic_.OnMerge();
  ASSERT_EQ(view_.error_lists.size(), 1u);
  EXPECT_EQ(view_.error_lists[0],
            std::vector<std::u16string>{u"Tag 'Level' has different definitions"});
  EXPECT_FALSE(std::filesystem::exists(out / "tagl.txt"));

  Select(a, c);
  view_.answers = {std::nullopt};  // output folder cancelled: nothing written, no message
  logic_.OnMerge();
  EXPECT_FALSE(std::filesystem::exists(out / "tagl.txt"));
  EXPECT_EQ(view_.result, u"");
  view_.answers = {out};
  logic_.OnMerge();
  EXPECT_EQ(view_.prompts.back(), LoadResourceString(IDS_SELECT_OUTPUT));
  EXPECT_TRUE(std::filesystem::exists(out / "tagl.txt"));
  EXPECT_EQ(view_.result, u"Merged into " + out.u16string() +
                              u": 0 classes, 3 tags (0 classes and 1 tag from the second "
                              u"database).");
  EXPECT_TRUE(view_.questions.empty());
  // The chooser may create the output folder; a database there is replaced
  // only when the user says so.
  EXPECT_EQ(view_.uses.back(), FolderUse::kWrite);
  view_.replace = false;
  view_.answers = {out};
  logic_.OnMerge();
  EXPECT_EQ(view_.questions, (std::vector<std::u16string>{u"Folder " + out.u16string() +
                                                          u" already holds a tag database. "
                                                          u"Replace its files?"}));
  EXPECT_EQ(view_.result, u"");
  Select(a, b);  // a new choice clears the line
  EXPECT_EQ(view_.result, u"");
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(view_.error_lists.size(), 1u);
}

TEST_F(MainDialogLogicTest, ChoosersOpenBesideTheFolderChosenBefore) {
  const auto a = Database("plants/a", TagBlock(u"A", u"1|4|x"));
  const auto b = Database("other/b", TagBlock(u"B", u"2|4|x"));
  logic_.OnInitDialog();
  Select(a, b);
  logic_.SetFolders(WithSeparator(a), {});  // as start-up fills the first field
  view_.answers = {b, std::nullopt};
  logic_.OnSelect();
  Select(a, b);
  view_.answers = {std::nullopt};
  logic_.OnMerge();
  // Nothing shown yet, then beside the first choice; beside the field, then
  // beside the choice; the output beside the second folder.
  const auto plants = a.parent_path(), other = b.parent_path();
  EXPECT_EQ(view_.starts,
            (std::vector<std::filesystem::path>{{}, plants, plants, other, plants, plants, other}));
}

TEST_F(MainDialogLogicTest, TheCommonAncestorIsCheckedKeptUntilClearedAndMergedAgainst) {
  const auto base = Database("base", TagBlock(u"Level", u"1|4|x"));
  const auto a = Database("a", TagBlock(u"Level", u"2|4|x"));  // changed in the first alone
  const auto b = Database("b", TagBlock(u"Level", u"1|4|x"));
  const auto empty = dir_.path() / "empty";
  std::filesystem::create_directories(empty);

  logic_.SetBase(u"/from/start-up");
  logic_.OnInitDialog();
  Select(a, b);
  view_.answers = {std::nullopt, empty};  // cancelled, then refused: kept
  logic_.OnSelectBase();
  logic_.OnSelectBase();
  EXPECT_EQ(view_.base, u"/from/start-up");
  EXPECT_EQ(view_.messages.front(), LoadResourceString(IDS_BASE_NO_DATABASE));
  view_.answers = {base, dir_.path()};
  logic_.OnSelectBase();
  EXPECT_EQ(view_.base, WithSeparator(base));
  logic_.OnMerge();  // against the ancestor the one change is no conflict
  logic_.OnClearBase();
  EXPECT_EQ(view_.base, u"");
  logic_.OnMerge();
  EXPECT_EQ(view_.error_lists.size(), 1u);
  logic_.OnSelectBase();
  // Beside the ancestor shown, else beside the first folder.
  EXPECT_EQ(view_.starts[2], u"/from");
  EXPECT_EQ(view_.starts.back(), dir_.path());
}

TEST(ResultLineTest, NumbersAreGroupedAsTheLanguageGroupsThem) {
  EXPECT_EQ(GroupedDecimal(0, u","), u"0");
  EXPECT_EQ(GroupedDecimal(999, u","), u"999");
  EXPECT_EQ(GroupedDecimal(48113, u"."), u"48.113");
  EXPECT_EQ(GroupedDecimal(1234567, u","), u"1,234,567");
  MergeSummary summary;
  summary.output = u"/srv/plant";
  summary.classes = 214;
  summary.tags = 48113;
  summary.classes_from_second = 12;
  summary.tags_from_second = 3020;
  EXPECT_EQ(ResultLine(summary, ResourceModule::BuiltIn()),
            u"Merged into /srv/plant: 214 classes, 48,113 tags (12 classes and 3,020 tags from "
            u"the second database).");
  summary.classes = summary.tags_from_second = 1;
  summary.classes_from_second = 0;
  EXPECT_EQ(ResultLine(summary, ResourceModule::BuiltIn()),
            u"Merged into /srv/plant: 1 class, 48,113 tags (0 classes and 1 tag from "
            u"the second database).");
}

class RecordingErrorList : public ErrorListView {
 public:
  void ShowDetail(const ConflictDetail&, const DifferenceMark&) override {}
  void SetClipboardText(const std::u16string&) override {}
  void ShowRow(std::size_t row, const std::u16string& text) override { rows[row] = text; }
  void EnableTake(bool enabled) override { take = enabled; }
  void EnableMergeDecided(bool enabled) override { merge = enabled; }
  std::map<std::size_t, std::u16string> rows;
  bool take = true;
  bool merge = true;
};

TEST(ErrorListLogicTest, ChoicesShowInTheirRowsAndMergeWaitsForEveryConflict) {
  const ConflictList conflicts = {
      {.line = u"Tag 'Level' has different definitions", .name = u"Level"},
      {.line = u"Class 'Motor' has different definitions", .is_class = true, .name = u"Motor"},
      {.line = u"Tag 'Pump' uses class code 9, which its database does not define"}};
  RecordingErrorList view;
  ErrorListLogic logic(conflicts, view, u"\n");
  logic.OnInitDialog();
  EXPECT_FALSE(view.take || view.merge);
  // A row decided again counts once; the class code cannot be decided.
  for (const auto& [row, side] : {std::pair{0, Side::kFirst}, std::pair{0, Side::kSecond},
                                  std::pair{1, Side::kFirst}, std::pair{2, Side::kFirst}}) {
    logic.OnSelect(row);
    logic.OnTake(side);
  }
  EXPECT_EQ(view.rows, (std::map<std::size_t, std::u16string>{
                           {0, u"[second] Tag 'Level' has different definitions"},
                           {1, u"[first] Class 'Motor' has different definitions"}}));
  EXPECT_FALSE(view.take || view.merge);
  EXPECT_FALSE(logic.OnMergeDecided());
  EXPECT_TRUE(logic.decisions().empty());
}

}  // namespace
}  // namespace junctra
