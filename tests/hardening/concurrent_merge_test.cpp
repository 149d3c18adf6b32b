// Two batch merges started at the same moment into one output folder, many
// times over: whatever the interleaving, the folder then holds one run's
// complete pair of files, never one file of each, and that run succeeded.
#include <gtest/gtest.h>

#include <iostream>

#include "platform/text.h"
#include "tests/hardening/hardening_support.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

constexpr int kPairs = 120;
// Small databases: the runs overlap from start to end.
constexpr std::size_t kTags = 300;

struct Pair {
  std::string classes;
  std::string tags;
  bool operator==(const Pair&) const = default;
};

Pair ReadPair(const std::filesystem::path& folder) {
  return {ReadBytes(folder / "class.lst"), ReadBytes(folder / "tagl.txt")};
}

TEST(ConcurrentMergeTest, SimultaneousRunsLeaveOneSuccessfulRunsCompletePair) {
  TempDir dir;
  const auto out = dir.path() / "out";
  std::filesystem::create_directory(out);
  // Two merges whose results differ in both files.
  std::vector<std::vector<std::string>> runs;
  std::vector<Pair> expected;
  for (const std::string name : {"Pump", "Valve"}) {
    const std::u16string prefix = Utf8ToUtf16(name);
    const auto a = dir.path() / ("a-" + name);
    const auto b = dir.path() / ("b-" + name);
    std::filesystem::create_directory(a);
    std::filesystem::create_directory(b);
    WriteDatabaseFile(a / "class.lst", GeneratedClasses(prefix, 4));
    WriteDatabaseFile(a / "tagl.txt", GeneratedTags(prefix, kTags, 3));
    WriteDatabaseFile(b / "class.lst", GeneratedClasses(prefix, 3));
    WriteDatabaseFile(b / "tagl.txt", GeneratedTags(prefix, kTags, 3, kTags / 2));
    const auto alone = dir.path() / ("alone-" + name);
    std::filesystem::create_directory(alone);
    const RunResult run = RunProgram({a.string(), b.string(), alone.string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    expected.push_back(ReadPair(alone));
    runs.push_back({a.string(), b.string(), out.string()});
  }
  ASSERT_NE(expected[0].classes, expected[1].classes);
  ASSERT_NE(expected[0].tags, expected[1].tags);

  int won[2] = {0, 0};
  for (int pair = 0; pair < kPairs; ++pair) {
    // Every other pair starts from an empty folder, the rest replace files.
    if (pair % 2 == 0) {
      for (const char* name : {"class.lst", "tagl.txt"}) std::filesystem::remove(out / name);
    }
    const std::vector<RunResult> results = RunProgramsTogether(runs);
    const Pair now = ReadPair(out);
    int owner = -1;
    for (int i = 0; i < 2; ++i) {
      if (now == expected[i]) owner = i;
    }
    ASSERT_NE(owner, -1) << "pair " << pair << ": the files are not one run's pair; exit codes "
                         << results[0].exit_code << " " << results[0].err << ", "
                         << results[1].exit_code << " " << results[1].err;
    ASSERT_EQ(results[owner].exit_code, 0) << "pair " << pair << ": " << results[owner].err;
    // A second run waits for the first instead of failing.
    for (const RunResult& run : results) EXPECT_EQ(run.exit_code, 0) << run.err;
    ASSERT_EQ(FolderEntries(out), (std::vector<std::string>{"class.lst", "tagl.txt"}))
        << "pair " << pair;
    ++won[owner];
  }
  std::cout << "[ concurrent ] " << kPairs << " pairs of runs: the first run's files stayed "
            << won[0] << " times, the second's " << won[1] << " times\n";
}

}  // namespace
}  // namespace junctra
