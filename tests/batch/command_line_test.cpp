#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {
namespace {

CommandLine Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "junctra");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

// What a command line asks for, in one line: the filled slots and options,
// or the wrong use's message.
std::string Describe(const CommandLine& line) {
  if (line.wrong_use != 0) {
    return Utf16ToUtf8(
        FormatMessage(ResourceModule::BuiltIn().LoadString(line.wrong_use), line.wrong_option));
  }
  std::string text;
  const std::pair<const char*, const std::filesystem::path*> slots[] = {{"first", &line.first},
                                                                        {"second", &line.second},
                                                                        {"output", &line.output},
                                                                        {"fourth", &line.fourth},
                                                                        {"base", &line.base}};
  for (const auto& [name, path] : slots) {
    if (!path->empty()) text += std::string(name) + "[" + PathToUtf8(*path) + "] ";
  }
  if (line.take) text += line.take == Side::kFirst ? "take[first] " : "take[second] ";
  if (line.dry_run) text += "dry-run ";
  if (line.help) text += "help ";
  if (line.version) text += "version ";
  return text;
}

TEST(CommandLineTest, OptionsStandBeforeTheFolders) {
  const struct {
    std::vector<const char*> args;
    std::string expected;
  } kCases[] = {
      {{}, ""},
      {{"", " /a ", "", "-b", "/c"}, "first[ /a ] second[-b] output[/c] "},
      {{"a", "b", "c", "d", "e", "f"}, "first[a] second[b] output[c] fourth[d] "},
      {{"--base", "B", "--take", "second", "--dry-run", "a", "b"},
       "first[a] second[b] base[B] take[second] dry-run "},
      {{"", "--take=first", "", "--base=B=C", "a", "b", "c"},
       "first[a] second[b] output[c] base[B=C] take[first] "},
      {{"--base", "--dry-run", "a", "b"}, "first[a] second[b] base[--dry-run] "},
      {{"--base", "B"}, "base[B] "},  // the dialog, with the base filled in
      // Any other argument is a folder, and so is everything after it.
      {{"-x", "--dry-run", "b"}, "first[-x] second[--dry-run] output[b] "},
      {{"--frobnicate", "--dry-run=yes", "--take"},
       "first[--frobnicate] second[--dry-run=yes] "
       "output[--take] "},
      {{"--", "--help", "--", "c"}, "first[--help] second[--] output[c] "},
#ifdef _WIN32
      {{"/?"}, "help "},
#else
      {{"/?"}, "first[/?] "},
#endif
      // Wrong use.
      {{"--take", "third", "a", "b"}, "Option --take needs first or second"},
      {{"--base"}, "Option --base needs a folder"},
      {{"--base=", "a", "b"}, "Option --base needs a folder"},
      {{"--base", "", "a", "b"}, "Option --base needs a folder"},
      {{"--dry-run", "--dry-run", "a", "b"}, "Option --dry-run is given twice"},
      {{"--base=A", "--base", "B", "a", "b"}, "Option --base is given twice"},
      {{"--dry-run", "a"}, "Option --dry-run needs two database folders"},
      {{"--take", "first", "a"}, "Option --take needs two database folders"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Describe(Parse(c.args)), c.expected) << testing::PrintToString(c.args);
  }

  // UTF-8 in, the same characters in the path on either system.
  EXPECT_EQ(PathToUtf16(Parse({"d\xC3\xA4ta"}).first), u"d\u00E4ta");
}

}  // namespace
}  // namespace junctra
