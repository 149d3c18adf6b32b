// Every file operation of a batch merge into the second folder, failed in
// turn with each of ENOSPC, EIO and EACCES: a run either succeeds with the
// right files, or fails, says what failed and leaves the folder as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>

#include "merge/merge_command.h"
#include "merge/output_writer.h"
#include "platform/error_text.h"
#include "platform/text.h"
#include "tests/fault_injection_env.h"
#include "tests/hardening/hardening_support.h"
#include "tests/recording_ui.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// A temporary file of this run or another, for class.lst or tagl.txt.
bool IsTemporaryOf(const std::filesystem::path& path, std::string_view file) {
  const std::string name = path.filename().string();
  return IsTemporaryName(name) && name.starts_with(file);
}

struct Files {
  std::string classes;  // empty: no class.lst
  std::string tags;
};

Files ReadFiles(const std::filesystem::path& folder) {
  Files files;
  if (std::filesystem::exists(folder / "class.lst"))
    files.classes = ReadBytes(folder / "class.lst");
  files.tags = ReadBytes(folder / "tagl.txt");
  return files;
}

class FaultInjectionTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(a_);
    std::filesystem::create_directory(b_);
    // Large enough for several reads and writes of 64 KiB per file.
    WriteDatabaseFile(a_ / "class.lst", GeneratedClasses(u"Pump", 4));
    WriteDatabaseFile(a_ / "tagl.txt", GeneratedTags(u"A", 500, 3));
    // Without a class list, b's tags name no class (else a's would be theirs).
    WriteDatabaseFile(b_ / "tagl.txt", GetParam() ? GeneratedTags(u"A", 600, 3, 300)
                                                  : GeneratedTags(u"A", 600, 0, 500));
    if (GetParam()) WriteDatabaseFile(b_ / "class.lst", GeneratedClasses(u"Pump", 3));
    before_ = ReadFiles(b_);
  }

  void Restore() {
    WriteBytes(b_ / "tagl.txt", before_.tags);
    if (before_.classes.empty()) {
      std::filesystem::remove(b_ / "class.lst");
    } else {
      WriteBytes(b_ / "class.lst", before_.classes);
    }
  }

  // The target's files as before, and nothing else.
  bool Unchanged() {
    const Files now = ReadFiles(b_);
    return now.classes == before_.classes && now.tags == before_.tags &&
           FolderEntries(b_).size() == (before_.classes.empty() ? 1u : 2u);
  }

  bool Run(FaultInjectionEnv& env, RecordingUi& ui) {
    MergeFolders folders{a_, b_, b_, {}};
    return RunMergeCommand(folders, ui, ResourceModule::BuiltIn(), &env);
  }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b";
  Files before_;
};

TEST_P(FaultInjectionTest, EveryFailedOperationLeavesTheTargetAsItWasOrComplete) {
  FaultInjectionEnv env;
  RecordingUi clean_ui;
  env.FailNth(0, 0);
  ASSERT_TRUE(Run(env, clean_ui));
  ASSERT_TRUE(clean_ui.Silent());
  const std::size_t operations = env.count();
  const Files merged = ReadFiles(b_);
  ASSERT_NE(merged.classes, before_.classes);
  ASSERT_NE(merged.tags, before_.tags);
  ASSERT_EQ(FolderEntries(b_), (std::vector<std::string>{"class.lst", "tagl.txt"}));
  Restore();
  const std::vector<std::string> names_before = FolderEntries(b_);

  std::map<std::string, int> ignored;  // kind -> fault points that did not matter
  std::size_t failed_runs = 0;
  for (int error : {ENOSPC, EIO, EACCES}) {
    for (std::size_t n = 1; n <= operations; ++n) {
      Restore();
      RecordingUi ui;
      env.FailNth(n, error);
      const bool ok = Run(env, ui);
      ASSERT_TRUE(env.fired()) << n;
      const std::string where = std::string(FaultInjectionEnv::KindName(env.fired_kind())) + " " +
                                env.fired_path().string() + " (" + std::strerror(error) +
                                ", operation " + std::to_string(n) + ")";
      if (ok) {
        EXPECT_EQ(FolderEntries(b_), (std::vector<std::string>{"class.lst", "tagl.txt"})) << where;
        // Only faults that come after the files are complete and in place
        // may pass unreported: closing an input that was read in full, and
        // syncing the folder after the renames.
        const bool input_close =
            env.fired_kind() == FaultInjectionEnv::kClose &&
            env.fired_path().filename().string().find(kTemporarySuffix) == std::string::npos;
        const bool folder_sync =
            env.fired_kind() == FaultInjectionEnv::kSync && env.fired_path() == b_ / "";
        EXPECT_TRUE(input_close || folder_sync) << where;
        EXPECT_TRUE(ui.Silent()) << where;
        const Files now = ReadFiles(b_);
        EXPECT_EQ(now.classes, merged.classes) << where;
        EXPECT_EQ(now.tags, merged.tags) << where;
        ++ignored[FaultInjectionEnv::KindName(env.fired_kind())];
        continue;
      }
      ++failed_runs;
      EXPECT_EQ(FolderEntries(b_), names_before) << where;
      const Files now = ReadFiles(b_);
      EXPECT_EQ(now.classes, before_.classes) << where;
      EXPECT_EQ(now.tags, before_.tags) << where;
      // The message names the file that could not be read or written, and
      // a save error the system's reason.
      const std::filesystem::path& path = env.fired_path();
      // The errors are the fake's, so the reason is the one Windows
      // usually gives them there.
      const std::u16string reason = u": " + Utf8ToUtf16(ErrorText(error));
      if (IsTemporaryOf(path, "class.lst")) {
        EXPECT_TRUE(ui.Mentions(u"Error saving class file")) << where;
        EXPECT_TRUE(ui.Mentions(PathToUtf16(b_ / "class.lst") + reason)) << where;
      } else if (IsTemporaryOf(path, "tagl.txt")) {
        EXPECT_TRUE(ui.Mentions(u"Error saving database file")) << where;
        EXPECT_TRUE(ui.Mentions(PathToUtf16(b_ / "tagl.txt") + reason)) << where;
      } else {
        EXPECT_TRUE(ui.Mentions(PathToUtf16(env.fired_path()))) << where;
      }
    }
  }
  std::cout << "[ fault injection ] " << (GetParam() ? "with" : "without")
            << " class.lst in the target: " << operations
            << " operations x 3 errors = " << 3 * operations << " fault points; " << failed_runs
            << " failed cleanly";
  for (const auto& [kind, count] : ignored) std::cout << "; " << count << " ignored " << kind;
  std::cout << "\n";
}

// Everything is written and synced before the first rename, and nothing
// comes between the two renames: that is the whole window in which a kill
// leaves one file new and the other old.
TEST_P(FaultInjectionTest, TheTwoRenamesFollowEachOtherDirectly) {
  FaultInjectionEnv env;
  env.FailNth(0, 0);
  env.Trace(true);
  RecordingUi ui;
  ASSERT_TRUE(Run(env, ui));
  const auto& trace = env.trace();
  std::vector<std::size_t> renames;
  for (std::size_t i = 0; i < trace.size(); ++i) {
    if (trace[i].first == FaultInjectionEnv::kRename) renames.push_back(i);
  }
  // An exchange the file system refuses changes nothing; the rename of the
  // same temporary comes right after it.
  if (renames.size() == 3 && renames[1] == renames[0] + 1 &&
      trace[renames[0]].second == trace[renames[1]].second) {
    renames.erase(renames.begin());
  }
  ASSERT_EQ(renames.size(), 2u);
  EXPECT_EQ(renames[1], renames[0] + 1);
  EXPECT_TRUE(IsTemporaryOf(trace[renames[0]].second, "class.lst"));
  EXPECT_TRUE(IsTemporaryOf(trace[renames[1]].second, "tagl.txt"));
  // Both temporaries were synced before.
  for (std::size_t rename : renames) {
    const auto temp = trace[rename].second;
    bool synced = false;
    for (std::size_t i = 0; i < renames[0]; ++i) {
      synced |= trace[i].first == FaultInjectionEnv::kSync && trace[i].second == temp;
    }
    EXPECT_TRUE(synced) << temp;
  }
  // Then only the folder's sync.
  ASSERT_EQ(trace.size(), renames[1] + 2);
  EXPECT_EQ(trace.back().first, FaultInjectionEnv::kSync);
}

// Memory that runs out at any read or write: the run says so and leaves the
// target as it was, without temporaries.
TEST_P(FaultInjectionTest, RunningOutOfMemoryLeavesTheTargetAsItWas) {
  constexpr unsigned kKinds = FaultInjectionEnv::kRead | FaultInjectionEnv::kWrite;
  FaultInjectionEnv env;
  RecordingUi clean_ui;
  env.FailNth(0, 0, kKinds);
  ASSERT_TRUE(Run(env, clean_ui));
  for (std::size_t n = 1, operations = env.count(); n <= operations; ++n) {
    Restore();
    RecordingUi ui;
    env.FailNth(n, ENOMEM, kKinds);
    EXPECT_FALSE(Run(env, ui)) << n;
    ASSERT_TRUE(env.fired()) << n;
    // Reads of an input name it (its message: HugeInputTest); the rest say only this.
    const bool writing = IsTemporaryName(env.fired_path().filename().string());
    EXPECT_TRUE(ui.Mentions(writing ? std::u16string(u"Not enough memory to go on")
                                    : PathToUtf16(env.fired_path()) + u": Cannot allocate memory"))
        << n;
    EXPECT_TRUE(Unchanged()) << env.fired_path() << " (operation " << n << ")";
  }
}

// Where the file system can neither exchange two files nor give one a second
// name (FAT, exFAT, many shares), a copy of the old class.lst is the way back
// when tagl.txt cannot be replaced, and goes once both are in place.
TEST_P(FaultInjectionTest, WithoutExchangeOrLinksACopyPutsTheOldClassListBack) {
  struct NoLinksEnv : FaultInjectionEnv {
    int ExchangeFiles(const std::filesystem::path&, const std::filesystem::path&) override {
      return ENOSYS;
    }
    int LinkFile(const std::filesystem::path&, const std::filesystem::path&) override {
      return link_error;
    }
    int link_error = 0;
  } env;
  for (int link_error : {EXDEV, EPERM, ENOSYS, EOPNOTSUPP}) {
    Restore();
    env.link_error = link_error;
    env.FailNth(2, EIO, FaultInjectionEnv::kRename);  // tagl.txt's, after class.lst's
    RecordingUi ui;
    EXPECT_FALSE(Run(env, ui)) << link_error;
    EXPECT_TRUE(env.fired() && Unchanged()) << link_error;
    env.FailNth(0, 0);
    EXPECT_TRUE(Run(env, ui)) << link_error;
    EXPECT_EQ(FolderEntries(b_), (std::vector<std::string>{"class.lst", "tagl.txt"}));
  }
}

INSTANTIATE_TEST_SUITE_P(TargetClassList, FaultInjectionTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Present" : "Absent"; });

}  // namespace
}  // namespace junctra
