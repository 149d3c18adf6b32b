// The program killed with SIGKILL at random moments of a batch merge into
// the second folder: whenever it dies, class.lst and tagl.txt there are each
// complete, either the old file or the merged one.
#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "merge/output_writer.h"
#include "tests/hardening/hardening_support.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// Enough tags for a run of some tens of milliseconds.
constexpr std::size_t kTags = kSanitized ? 3000 : 12000;
constexpr int kKills = 60;

std::uint32_t Seed() {
  const char* text = std::getenv("JUNCTRA_CRASH_SEED");
  return text != nullptr ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : 20240607;
}

TEST(CrashTest, KilledRunsLeaveEachFileOldOrNew) {
  TempDir dir;
  const auto a = dir.path() / "a", b = dir.path() / "b";
  std::filesystem::create_directory(a);
  std::filesystem::create_directory(b);
  WriteDatabaseFile(a / "class.lst", GeneratedClasses(u"Pump", 40));
  WriteDatabaseFile(a / "tagl.txt", GeneratedTags(u"T", kTags, 30));
  WriteDatabaseFile(b / "class.lst", GeneratedClasses(u"Pump", 30));
  WriteDatabaseFile(b / "tagl.txt", GeneratedTags(u"T", kTags, 30, kTags / 2));
  const std::string old_classes = ReadBytes(b / "class.lst");
  const std::string old_tags = ReadBytes(b / "tagl.txt");
  auto restore = [&] {
    if (ReadBytes(b / "class.lst") != old_classes) WriteBytes(b / "class.lst", old_classes);
    if (ReadBytes(b / "tagl.txt") != old_tags) WriteBytes(b / "tagl.txt", old_tags);
  };
  const std::vector<std::string> args = {a.string(), b.string()};

  // An uninterrupted run gives the new files and the time a run takes.
  double longest = 0;
  std::string new_classes, new_tags;
  for (int i = 0; i < 3; ++i) {
    restore();
    const RunResult run = RunProgram(args);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    longest = std::max(longest, run.seconds);
    new_classes = ReadBytes(b / "class.lst");
    new_tags = ReadBytes(b / "tagl.txt");
  }
  ASSERT_NE(new_classes, old_classes);
  ASSERT_NE(new_tags, old_tags);
  restore();

  std::mt19937 random(Seed());
  std::uniform_real_distribution<double> moment(0.0, longest * 1.1);
  int kills = 0, completed = 0, both_old = 0, both_new = 0, mixed = 0, leftovers = 0;
  while (kills < kKills && kills + completed < 4 * kKills) {
    const auto delay = std::chrono::microseconds(static_cast<long>(moment(random) * 1e6));
    const RunResult run = RunProgram(args, {.env = {}, .time_limit = delay});
    ASSERT_TRUE(run.started);
    const std::string classes = ReadBytes(b / "class.lst");
    const std::string tags = ReadBytes(b / "tagl.txt");
    const bool classes_new = classes == new_classes;
    const bool tags_new = tags == new_tags;
    ASSERT_TRUE(classes_new || classes == old_classes)
        << "class.lst damaged, killed after " << delay.count() << " us";
    ASSERT_TRUE(tags_new || tags == old_tags)
        << "tagl.txt damaged, killed after " << delay.count() << " us";
    // Nothing but the database files and the temporaries.
    for (const std::string& name : FolderEntries(b)) {
      ASSERT_TRUE(name == "class.lst" || name == "tagl.txt" || IsTemporaryName(name)) << name;
    }
    if (!run.killed) {
      ++completed;
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_TRUE(classes_new && tags_new);
      EXPECT_EQ(FolderEntries(b), (std::vector<std::string>{"class.lst", "tagl.txt"}));
    } else {
      ++kills;
      if (FolderEntries(b).size() > 2) ++leftovers;
      if (classes_new && tags_new) {
        ++both_new;
      } else if (!classes_new && !tags_new) {
        ++both_old;
      } else {
        ++mixed;
      }
    }
    restore();
  }
  EXPECT_GE(kills, kKills);

  // Leftover temporaries, this version's and an earlier one's, never count
  // as a database and go with the next run; other files stay.
  std::filesystem::remove(b / "tagl.txt");
  const std::vector<std::string> stale = {"class.lst.4711-0badf00d.junctra-new",
                                          "tagl.txt.4711-0badf00d.junctra-new",
                                          "class.lst.junctra-new", "tagl.txt.junctra-new"};
  for (const std::string& name : stale) WriteDatabaseFile(b / name, u"stale");
  const std::vector<std::string> kept = {"notes.txt.1-ab.junctra-new", "tagl.txt.bak.junctra-new"};
  for (const std::string& name : kept) WriteDatabaseFile(b / name, u"mine");
  RunResult run = RunProgram(args);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "Second folder does not contain database files\n" + (b / "tagl.txt").string() +
                         ": No such file or directory\n");
  WriteBytes(b / "tagl.txt", old_tags);
  run = RunProgram(args);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FolderEntries(b), (std::vector<std::string>{"class.lst", "notes.txt.1-ab.junctra-new",
                                                        "tagl.txt", "tagl.txt.bak.junctra-new"}));
  EXPECT_EQ(ReadBytes(b / "tagl.txt"), new_tags);

  std::cout << "[ crash ] seed " << Seed() << ", run " << longest * 1000 << " ms, " << kills
            << " kills (" << completed << " runs ended first): " << both_old << " both old, "
            << both_new << " both new, " << mixed << " one new and one old; " << leftovers
            << " left temporaries\n";
}

// SIGINT, SIGTERM and SIGHUP once a temporary is there: the run removes its
// temporaries and ends by that signal; the targets are both old, or both new
// when it came during the renames.
TEST(CrashTest, InterruptedRunsRemoveTheirTemporaries) {
  TempDir dir;
  const auto a = dir.path() / "a", b = dir.path() / "b";
  std::filesystem::create_directory(a);
  std::filesystem::create_directory(b);
  WriteDatabaseFile(a / "class.lst", GeneratedClasses(u"Pump", 40));
  WriteDatabaseFile(a / "tagl.txt", GeneratedTags(u"T", 5 * kTags, 30));
  WriteDatabaseFile(b / "class.lst", GeneratedClasses(u"Pump", 30));
  WriteDatabaseFile(b / "tagl.txt", GeneratedTags(u"U", 5 * kTags, 30));
  const std::string old_classes = ReadBytes(b / "class.lst"), old_tags = ReadBytes(b / "tagl.txt");
  int caught = 0;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction inherited = {};
    sigaction(sig, nullptr, &inherited);
    if (inherited.sa_handler == SIG_IGN) continue;  // the program would ignore it too
    // A run that ends before a temporary is seen tells nothing; try again.
    bool seen = false;
    for (int attempt = 0; attempt < 5 && !seen; ++attempt) {
      Child child({ProgramPath(), a.string(), b.string()});
      ASSERT_GE(child.pid(), 0);
      int status = 0;
      timespec pause{0, 200000};
      while (!(seen = FolderEntries(b).size() > 2) && waitpid(child.pid(), &status, WNOHANG) == 0) {
        nanosleep(&pause, nullptr);
      }
      if (seen) {
        kill(child.pid(), sig);
        const RunResult run = child.Wait();
        ++caught;
        EXPECT_EQ(run.signal, sig) << run.err;
        EXPECT_EQ(FolderEntries(b), (std::vector<std::string>{"class.lst", "tagl.txt"})) << sig;
        EXPECT_EQ(ReadBytes(b / "class.lst") == old_classes, ReadBytes(b / "tagl.txt") == old_tags)
            << sig;
      }
      WriteBytes(b / "class.lst", old_classes);
      WriteBytes(b / "tagl.txt", old_tags);
    }
  }
  std::cout << "[ crash ] " << caught << " runs interrupted while writing\n";
}

}  // namespace
}  // namespace junctra
