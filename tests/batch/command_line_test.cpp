#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/text.h"

namespace junctra {
namespace {

CommandLineFolders Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "junctra");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, FillsSlotsInOrderSkippingEmptyArguments) {
  auto none = Parse({});
  EXPECT_TRUE(none.first.empty() && none.second.empty() && none.output.empty());

  auto one = Parse({" /a b "});
  EXPECT_EQ(one.first, " /a b ");  // taken exactly as it arrives
  EXPECT_TRUE(one.second.empty());

  auto three = Parse({"", "/a", "", "-b", "/c"});
  EXPECT_EQ(three.first, "/a");
  EXPECT_EQ(three.second, "-b");  // not a switch
  EXPECT_EQ(three.output, "/c");

  // UTF-8 in, the same characters in the path on either system.
  EXPECT_EQ(PathToUtf16(Parse({"d\xC3\xA4ta"}).first), u"d\u00E4ta");

  auto five = Parse({"a", "b", "c", "d", "e", "f"});
  EXPECT_EQ(five.output, "c");
  EXPECT_EQ(five.fourth, "d");
}

}  // namespace
}  // namespace junctra
