// The error list's choices, without a toolkit: a recording view stands in
// for the dialog.
#include "ui/error_list_logic.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

namespace junctra {
namespace {

class RecordingView : public ErrorListView {
 public:
  void ShowDetail(const ConflictDetail& detail, const DifferenceMark&) override {
    base = detail.base;
  }
  void SetClipboardText(const std::u16string&) override {}
  void ShowRow(std::size_t row, const std::u16string& text) override { rows[row] = text; }
  void EnableTake(bool enabled) override { take = enabled; }
  void EnableMergeDecided(bool enabled) override { merge = enabled; }

  std::u16string base;
  std::map<std::size_t, std::u16string> rows;
  bool take = true;
  bool merge = true;
};

using DecisionKey = std::tuple<bool, std::u16string, Side>;

std::vector<DecisionKey> Keys(const Decisions& decisions) {
  std::vector<DecisionKey> keys;
  for (const Decision& d : decisions.each) keys.emplace_back(d.is_class, d.name, d.side);
  return keys;
}

const Conflict kLevel = {.line = u"Tag 'Level' has different definitions",
                         .detail = {.part = u"Number", .first = u"2", .second = u"3", .base = u"1"},
                         .name = u"Level"};
const Conflict kMotor = {
    .line = u"Class 'Motor' has different definitions", .is_class = true, .name = u"Motor"};
const Conflict kUndefinedCode = {.line =
                                     u"Tag 'Pump' uses class code 9, which its database "
                                     u"does not define"};

TEST(ErrorListLogicTest, EveryConflictMustBeDecidedBeforeTheChoicesAreReturned) {
  const ConflictList conflicts = {kLevel, kMotor, kUndefinedCode};
  RecordingView view;
  ErrorListLogic logic(conflicts, view, u"\n");
  EXPECT_TRUE(logic.has_base());
  logic.OnInitDialog();
  EXPECT_FALSE(view.take || view.merge);

  logic.OnSelect(2);  // cannot be decided
  EXPECT_FALSE(view.take);
  logic.OnTake(Side::kFirst);
  logic.OnSelect(0);
  EXPECT_TRUE(view.take);
  EXPECT_EQ(view.base, u"1");
  logic.OnTake(Side::kFirst);
  logic.OnSelect(1);
  logic.OnTake(Side::kSecond);
  EXPECT_EQ(view.rows, (std::map<std::size_t, std::u16string>{
                           {0, u"[first] Tag 'Level' has different definitions"},
                           {1, u"[second] Class 'Motor' has different definitions"}}));
  EXPECT_FALSE(view.merge);
  EXPECT_FALSE(logic.OnMergeDecided());
  EXPECT_TRUE(logic.decisions().empty());
}

TEST(ErrorListLogicTest, MergeWithTheChoicesReturnsTheLastChoiceOfEachConflict) {
  const ConflictList conflicts = {kLevel, kMotor};
  RecordingView view;
  ErrorListLogic logic(conflicts, view, u"\n");
  logic.OnInitDialog();
  for (const auto& [row, side] :
       {std::pair{0, Side::kFirst}, std::pair{0, Side::kSecond}, std::pair{1, Side::kFirst}}) {
    EXPECT_FALSE(view.merge);
    logic.OnSelect(row);
    logic.OnTake(side);
  }
  EXPECT_TRUE(view.merge);
  EXPECT_TRUE(logic.decisions().empty());  // not yet asked to merge
  ASSERT_TRUE(logic.OnMergeDecided());
  const Decisions decisions = logic.decisions();
  EXPECT_FALSE(decisions.all);
  EXPECT_EQ(Keys(decisions), (std::vector<DecisionKey>{{false, u"Level", Side::kSecond},
                                                       {true, u"Motor", Side::kFirst}}));
}

}  // namespace
}  // namespace junctra
