#include "merge/merge_command.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <tuple>

#include "merge/conflict_detail.h"
#include "merge/output_writer.h"
#include "platform/text.h"
#include "tests/conflict_lines.h"
#include "tests/database_files.h"
#include "tests/file_wrapper.h"
#include "tests/recording_ui.h"
#include "tests/system_reason.h"
#include "tests/tag_lookup.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

const std::u16string kPumpClass = u"V4.x - CLASS LIST\nClass:Pump\nSpeed|0|2|rpm\n";
const std::u16string kValveClass = u"V4.x - CLASS LIST\nClass:Valve\nOpen|0|1|position\n";

class MergeCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto* p : {&a_, &b_, &out_}) std::filesystem::create_directory(*p);
    WriteDatabaseFile(a_ / "class.lst", kPumpClass);
    WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(u"P1", u"1|4|x", u"Speed=1\n")));
    WriteDatabaseFile(b_ / "class.lst", kValveClass);
    WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"V1", u"2|4|y")));
  }

  bool Run(const std::filesystem::path& output, Env* env = Env::Default()) {
    MergeFolders folders{a_, b_, output, {}};
    return RunMergeCommand(folders, ui_, ResourceModule::BuiltIn(), env);
  }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b", out_ = dir_.path() / "out";
  RecordingUi ui_;
};

TEST_F(MergeCommandTest, BatchMergeWritesTheUnionWithClassCodesFollowed) {
  EXPECT_TRUE(Run(out_));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ReadBytes(out_ / "class.lst"),
            Utf16FileBytes(u"V4.x - CLASS LIST\nClass:Pump\nSpeed|0|2|rpm\n"
                           u"Class:Valve\nOpen|0|1|position\n"));
  CTagList merged;
  LoadReport report;
  EXPECT_TRUE(merged.LoadTagFile(out_ / "tagl.txt", &report));
  EXPECT_TRUE(report.complete);
  ASSERT_NE(FindTag(merged, u"V1"), nullptr);
  EXPECT_EQ(FindTag(merged, u"V1")->m_type, 5);  // Valve is class 2 of the merged list
  EXPECT_EQ(FindTag(merged, u"P1")->m_type, 4);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out_), {}), 2);
}

TEST_F(MergeCommandTest, FoldersWithoutTagListStopBeforeReading) {
  const std::u16string missing = u": " + SystemReason(u"No such file or directory", kFileNotFound);
  std::filesystem::remove(b_ / "tagl.txt");
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{u"Second folder does not contain database files",
                                         PathToUtf16(b_ / "tagl.txt") + missing}));
  std::filesystem::remove(a_ / "tagl.txt");
  ui_.messages.clear();
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{u"First folder does not contain database files",
                                         PathToUtf16(a_ / "tagl.txt") + missing}));
  // A folder that is not there is named with the file it should hold.
  ui_.messages.clear();
  MergeFolders mistyped{dir_.path() / "nowhere", b_, out_, {}};
  EXPECT_FALSE(RunMergeCommand(mistyped, ui_, ResourceModule::BuiltIn()));
  EXPECT_EQ(ui_.messages.back(), PathToUtf16(dir_.path() / "nowhere" / "tagl.txt") + u": " +
                                     SystemReason(u"No such file or directory", kPathNotFound));
  // Interactive use says nothing here: folder selection already checked.
  ui_.messages.clear();
  EXPECT_FALSE(Run({}));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(out_ / "tagl.txt"));
}

TEST_F(MergeCommandTest, ClassConflictsHideTagConflicts) {
  WriteDatabaseFile(b_ / "class.lst", u"V4.x - CLASS LIST\nClass:PUMP\nSpeed|0|3|rpm\n");
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"P1", u"9|4|x")));
  EXPECT_FALSE(Run(out_));
  ASSERT_EQ(ui_.error_lists.size(), 1u);
  EXPECT_EQ(ui_.error_lists[0],
            std::vector<std::u16string>{u"Class 'Pump' has different definitions"});
  EXPECT_FALSE(std::filesystem::exists(out_ / "class.lst"));
}

TEST_F(MergeCommandTest, TagConflictsWriteNothing) {
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"p1", u"1|4|x", u"Speed=2\n")));
  EXPECT_FALSE(Run(out_));
  ASSERT_EQ(ui_.error_lists.size(), 1u);
  EXPECT_EQ(ui_.error_lists[0], std::vector<std::u16string>{u"Tag 'p1' has different definitions"});
  EXPECT_TRUE(std::filesystem::is_empty(out_));
  // Controls masked, as the dialogs show and copy the lines; codes naming a class only
  // the other database defines (Pump is 4, Valve 5), in either; 6 names none: kept.
  const struct {
    std::u16string first_tags, second_tags, error;
  } cases[] = {
      {TagBlock(u"Q\u202E\x9B", u"1|1|x"), TagBlock(u"Q\u202E\x9B", u"1|1|y"),
       u"Tag 'Q\uFFFD\uFFFD' has different definitions"},
      {TagBlock(u"P1", u"1|5|x"), TagBlock(u"V1", u"2|4|y"),
       u"Tag 'P1' uses class code 5, which its database does not define"},
      {TagBlock(u"P1", u"1|4|x"), TagBlock(u"V1", u"2|4|y") + TagBlock(u"V2", u"3|5|z"),
       u"Tag 'V2' uses class code 5, which its database does not define"},
      {TagBlock(u"P1", u"1|6|x"), TagBlock(u"V1", u"2|6|y"), u""},
  };
  for (const auto& c : cases) {
    ui_.error_lists.clear();
    WriteDatabaseFile(a_ / "tagl.txt", TagFile(c.first_tags));
    WriteDatabaseFile(b_ / "tagl.txt", TagFile(c.second_tags));
    EXPECT_EQ(Run(out_), c.error.empty());
    EXPECT_EQ(ui_.error_lists,
              std::vector<std::vector<std::u16string>>(c.error.empty() ? 0 : 1, {c.error}));
    EXPECT_EQ(std::filesystem::is_empty(out_), !c.error.empty());
  }
}

// The detail line under message 109 or 110.
std::u16string Detail(const std::filesystem::path& path, std::u16string_view reason) {
  return PathToUtf16(path) + u": " + std::u16string(reason);
}

// FIRST changes P1 since the base, SECOND adds Valve and V1 and deletes
// D1: each side's edit is taken. Then both change P1: a conflict, which
// the error list's decision settles.
TEST_F(MergeCommandTest, ABaseTakesOneSidedEditsAndDecisionsSettleConflicts) {
  const auto base = dir_.path() / "base";
  std::filesystem::create_directory(base);
  const std::u16string p1 = TagBlock(u"P1", u"1|4|x", u"Speed=1\n"), d1 = TagBlock(u"D1", u"5|1|d");
  WriteDatabaseFile(base / "class.lst", kPumpClass);
  WriteDatabaseFile(base / "tagl.txt", TagFile(p1 + d1));
  WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(u"P1", u"1|4|x", u"Speed=2\n") + d1));
  WriteDatabaseFile(b_ / "class.lst", kPumpClass + kValveClass.substr(18));
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(p1 + TagBlock(u"V1", u"2|5|y")));
  const auto merge = [&](MergeOptions options, const std::filesystem::path& output) {
    MergeFolders folders{a_, b_, output, base};
    MergeSummary summary;
    const bool ok =
        RunMergeCommand(folders, ui_, ResourceModule::BuiltIn(), Env::Default(), &summary, options);
    return ok ? summary : MergeSummary{};
  };
  const auto speed = [&] {
    CTagList merged;
    merged.LoadTagFile(out_ / "tagl.txt");
    const CDatabaseItem* tag = FindTag(merged, u"P1");
    return tag != nullptr ? std::u16string(tag->m_parameterLines.text()) : u"(none)";
  };

  MergeSummary summary = merge({{}, true}, out_);  // a dry run
  EXPECT_TRUE(summary.merged && !summary.written);
  EXPECT_TRUE(std::filesystem::is_empty(out_));
  EXPECT_FALSE(merge({{}, true}, dir_.path() / "nowhere").merged);  // fails as the run would
  EXPECT_EQ(ui_.messages.at(1), Detail(dir_.path() / "nowhere" / "class.lst",
                                       SystemReason(u"No such file or directory", kFileNotFound)));
  summary = merge({}, out_);
  EXPECT_TRUE(summary.written && summary.three_way);
  EXPECT_EQ(std::make_tuple(summary.classes, summary.tags, summary.changed, summary.deleted),
            std::make_tuple(2u, 2u, 1u, 1u));
  EXPECT_EQ(speed(), u"Speed=2\n");
  CTagList merged;
  merged.LoadTagFile(out_ / "tagl.txt");
  EXPECT_EQ(FindTag(merged, u"V1")->m_type, 5);
  EXPECT_EQ(FindTag(merged, u"D1"), nullptr);

  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"p1", u"1|4|x", u"Speed=3\n")));
  std::filesystem::remove_all(out_);
  std::filesystem::create_directory(out_);
  EXPECT_FALSE(merge({}, out_).merged);
  ASSERT_EQ(ui_.shown_conflicts.size(), 1u);
  const Conflict& conflict = ui_.shown_conflicts[0][0];
  EXPECT_EQ(conflict.line, u"Tag 'P1' has different definitions");
  EXPECT_EQ(DetailLine(conflict.detail, ResourceModule::BuiltIn()),
            u"Parameters line 1: first \"Speed=2\", second \"Speed=3\", base \"Speed=1\"");
  EXPECT_TRUE(std::filesystem::is_empty(out_));
  // Interactive use: the error list's decision starts the run again.
  ui_.decisions = {Decisions{{}, {{false, u"p1", Side::kSecond}}}};
  ui_.answers = {out_};
  std::filesystem::remove(out_ / "tagl.txt");
  EXPECT_EQ(merge({}, {}).decided, 1u);
  EXPECT_EQ(ui_.shown_conflicts.size(), 2u);
  EXPECT_EQ(speed(), u"Speed=3\n");
}

TEST_F(MergeCommandTest, UnreadableOrPartlyReadInputWritesNothing) {
  const std::string before = ReadBytes(b_ / "tagl.txt");
  // A misspelt section header: the tags after it would be lost.
  WriteDatabaseFile(a_ / "tagl.txt",
                    u"//4.x - Application Tags\n#1|P1|1|4|x\n#Parameter\n#2|P2|1|1|y\n");
  EXPECT_FALSE(Run(b_));
  EXPECT_EQ(ui_.messages,
            std::vector<std::u16string>{u"Error reading file " + PathToUtf16(a_ / "tagl.txt") +
                                        u" at line 3"});
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), before);

  ui_.messages.clear();
  std::filesystem::remove(a_ / "class.lst");
  std::filesystem::create_directory(a_ / "class.lst");  // exists, cannot be opened
  EXPECT_FALSE(Run(b_));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{u"Can not open file " + PathToUtf16(a_ / "class.lst"),
                                         PathToUtf16(a_ / "class.lst") + u": Is a directory"}));
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), before);
}

// The tag lists are read at once, yet a run reports what reading them in
// turn would: the first that fails.
TEST_F(MergeCommandTest, OfTwoUnreadableTagListsTheFirstIsReported) {
  const std::u16string bad = u"//4.x - Application Tags\n#1|P1|1|4|x\n#Parameter\n";
  const struct {
    bool first_bad, second_bad;
    std::filesystem::path reported;
  } cases[] = {{true, true, a_}, {false, true, b_}, {true, false, a_}};
  for (const auto& c : cases) {
    SetUp();
    if (c.first_bad) WriteDatabaseFile(a_ / "tagl.txt", bad);
    if (c.second_bad) WriteDatabaseFile(b_ / "tagl.txt", bad);
    ui_.messages.clear();
    EXPECT_FALSE(Run(out_));
    EXPECT_EQ(ui_.messages,
              std::vector<std::u16string>{u"Error reading file " +
                                          PathToUtf16(c.reported / "tagl.txt") + u" at line 3"});
  }
}

TEST_F(MergeCommandTest, MissingClassListContributesNoClasses) {
  std::filesystem::remove(a_ / "class.lst");
  std::filesystem::remove(b_ / "class.lst");
  EXPECT_TRUE(Run(out_));
  EXPECT_EQ(ReadBytes(out_ / "class.lst"), Utf16FileBytes(u"V4.x - CLASS LIST\n"));
}

TEST_F(MergeCommandTest, InteractiveUseAsksForTheOutputFolder) {
  EXPECT_TRUE(Run({}));  // cancelled: nothing written, no failure
  EXPECT_EQ(ui_.prompts, std::vector<std::u16string>{u"Select new database folder:"});
  EXPECT_EQ(ui_.starts, std::vector<std::filesystem::path>{dir_.path()});  // beside the second
  EXPECT_TRUE(std::filesystem::is_empty(out_));
  ui_.answers = {out_};
  EXPECT_TRUE(Run({}));
  EXPECT_TRUE(std::filesystem::exists(out_ / "tagl.txt"));
  EXPECT_TRUE(Run(out_));  // batch use replaces the database there without asking
  EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(MergeCommandTest, MissingOutputFolderReportsBothFilesAndFails) {
  const auto nowhere = dir_.path() / "nowhere";
  EXPECT_FALSE(Run(nowhere));
  EXPECT_EQ(
      ui_.messages,
      (std::vector<std::u16string>{
          u"Error saving class file",
          Detail(nowhere / "class.lst", SystemReason(u"No such file or directory", kFileNotFound)),
          u"Error saving database file",
          Detail(nowhere / "tagl.txt",
                 SystemReason(u"No such file or directory", kFileNotFound))}));
}

unsigned Mode(const std::filesystem::path& path) {
  return static_cast<unsigned>(std::filesystem::status(path).permissions() &
                               std::filesystem::perms::mask);
}

// Sets the permission bits; on Windows only the write bits count, as the
// read-only attribute.
void SetMode(const std::filesystem::path& path, unsigned mode) {
  std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
}

std::vector<std::string> Entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(MergeCommandTest, ReplacedFilesKeepTheirPermissionsAndOwner) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows files have no owner, group or mode bits to keep, nor a umask";
#else
  WriteDatabaseFile(out_ / "class.lst", u"old");
  WriteDatabaseFile(out_ / "tagl.txt", u"old");
  for (auto [class_mode, tag_mode] : {std::pair(0600u, 0640u), {0640u, 0600u}, {0604u, 0660u}}) {
    chmod((out_ / "class.lst").c_str(), class_mode);
    chmod((out_ / "tagl.txt").c_str(), tag_mode);
    EXPECT_TRUE(Run(out_));
    EXPECT_EQ(Mode(out_ / "class.lst"), class_mode);
    EXPECT_EQ(Mode(out_ / "tagl.txt"), tag_mode);
  }
  if (geteuid() == 0) {  // only root may give files away
    ASSERT_EQ(chown((out_ / "class.lst").c_str(), 1234, 5678), 0);
    ASSERT_EQ(chown((out_ / "tagl.txt").c_str(), 4321, 8765), 0);
    EXPECT_TRUE(Run(out_));
    struct stat classes {
    }, tags{};
    stat((out_ / "class.lst").c_str(), &classes);
    stat((out_ / "tagl.txt").c_str(), &tags);
    EXPECT_EQ(std::pair(classes.st_uid, classes.st_gid), std::pair(1234u, 5678u));
    EXPECT_EQ(std::pair(tags.st_uid, tags.st_gid), std::pair(4321u, 8765u));
  }
  // New files get the system's default.
  const mode_t saved = umask(027);
  std::filesystem::create_directory(dir_.path() / "new");
  EXPECT_TRUE(Run(dir_.path() / "new"));
  umask(saved);
  EXPECT_EQ(Mode(dir_.path() / "new" / "class.lst"), 0640u);
  EXPECT_EQ(Mode(dir_.path() / "new" / "tagl.txt"), 0640u);
#endif
}

TEST_F(MergeCommandTest, ReadOnlyTargetsAreRefusedAndNeitherFileIsReplaced) {
  WriteDatabaseFile(out_ / "class.lst", u"old classes");
  WriteDatabaseFile(out_ / "tagl.txt", u"old tags");
  // Read-only by its mode alone, which also stops root.
  for (const char* name : {"class.lst", "tagl.txt"}) {
    ui_.messages.clear();
    SetMode(out_ / name, 0444);
    EXPECT_FALSE(Run(out_));
    EXPECT_EQ(ui_.messages,
              (std::vector<std::u16string>{
                  name == std::string("class.lst") ? u"Error saving class file"
                                                   : u"Error saving database file",
                  Detail(out_ / name, SystemReason(u"Permission denied", kAccessDenied))}));
    EXPECT_EQ(ReadBytes(out_ / "class.lst"), Utf16FileBytes(u"old classes"));
    EXPECT_EQ(ReadBytes(out_ / "tagl.txt"), Utf16FileBytes(u"old tags"));
    EXPECT_EQ(Mode(out_ / name), 0444u);
    EXPECT_EQ(Entries(out_), (std::vector<std::string>{"class.lst", "tagl.txt"}));
    SetMode(out_ / name, 0644);
  }
}

TEST_F(MergeCommandTest, LinkedTargetsAreWrittenThroughAndStayLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows Env does not follow symbolic links yet";
#endif
  EXPECT_TRUE(Run(out_));  // the merged files, for comparison
  const auto shared = dir_.path() / "shared", linked = dir_.path() / "linked";
  std::filesystem::create_directory(shared);
  std::filesystem::create_directory(linked);
  WriteDatabaseFile(shared / "tags", u"old");
  SetMode(shared / "tags", 0640);
  // tagl.txt: two relative links to a shared file; class.lst: an absolute
  // link to one that does not exist yet.
  std::filesystem::create_symlink("hop", linked / "tagl.txt");
  std::filesystem::create_symlink("../shared/tags", linked / "hop");
  std::filesystem::create_symlink(shared / "classes", linked / "class.lst");
  EXPECT_TRUE(Run(linked));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(std::filesystem::read_symlink(linked / "tagl.txt"), "hop");
  EXPECT_EQ(std::filesystem::read_symlink(linked / "hop"), "../shared/tags");
  EXPECT_EQ(std::filesystem::read_symlink(linked / "class.lst"), shared / "classes");
  EXPECT_EQ(ReadBytes(shared / "tags"), ReadBytes(out_ / "tagl.txt"));
  EXPECT_EQ(ReadBytes(shared / "classes"), ReadBytes(out_ / "class.lst"));
  EXPECT_EQ(Mode(shared / "tags"), 0640u);
  EXPECT_EQ(Entries(shared), (std::vector<std::string>{"classes", "tags"}));
  EXPECT_EQ(Entries(linked), (std::vector<std::string>{"class.lst", "hop", "tagl.txt"}));

  // A link that leads back to itself is refused.
  std::filesystem::remove(linked / "hop");
  std::filesystem::create_symlink("tagl.txt", linked / "hop");
  EXPECT_FALSE(Run(linked));
  EXPECT_EQ(ui_.messages, (std::vector<std::u16string>{
                              u"Error saving database file",
                              Detail(linked / "tagl.txt", u"Too many levels of symbolic links")}));
  EXPECT_EQ(ReadBytes(shared / "classes"), ReadBytes(out_ / "class.lst"));
}

TEST_F(MergeCommandTest, LinksInASharedFolderAreFollowedOnlyWhenTheUserOrTheFolderOwnsThem) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no sticky folders";
#else
  if (geteuid() != 0) GTEST_SKIP() << "only root may give links away";
  const auto shared = dir_.path() / "shared", victim = dir_.path() / "app.conf";
  std::filesystem::create_directory(shared);
  WriteDatabaseFile(victim, u"settings");
  const std::string settings = ReadBytes(victim);
  std::filesystem::create_symlink(victim, shared / "tagl.txt");
  const std::vector<std::u16string> refused{u"Error saving database file",
                                            Detail(shared / "tagl.txt", u"Permission denied")};
  // The folder's mode and owner, the link's owner, whether it is followed.
  for (const auto& [mode, folder_owner, link_owner, followed] :
       {std::tuple(01777u, 0u, 12345u, false),  // another user's link in a shared folder
        {01777u, 0u, 0u, true},                 // own link
        {01777u, 12345u, 12345u, true},         // the folder owner's
        {00777u, 0u, 12345u, true},             // not sticky
        {01775u, 0u, 12345u, true}}) {          // not writable by everyone
    SCOPED_TRACE(testing::Message()
                 << std::oct << mode << std::dec << " " << folder_owner << " " << link_owner);
    ui_.messages.clear();
    ASSERT_EQ(chown(shared.c_str(), folder_owner, 0), 0);
    ASSERT_EQ(lchown((shared / "tagl.txt").c_str(), link_owner, 0), 0);
    SetMode(shared, mode);
    EXPECT_EQ(Run(shared), followed);
    EXPECT_EQ(ui_.messages, followed ? std::vector<std::u16string>{} : refused);
    EXPECT_EQ(ReadBytes(victim) != settings, followed);
    WriteBytes(victim, settings);
  }
#endif
}

TEST_F(MergeCommandTest, BothNamesOfOneFileAreRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows Env does not follow symbolic links yet";
#endif
  const std::u16string same = u": class.lst and tagl.txt are the same file";
  std::filesystem::create_symlink("tagl.txt", out_ / "class.lst");  // to a tagl.txt yet to come
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages, (std::vector<std::u16string>{u"Error saving class file",
                                                       PathToUtf16(out_ / "tagl.txt") + same}));
  EXPECT_EQ(Entries(out_), std::vector<std::string>{"class.lst"});
  std::filesystem::remove(out_ / "class.lst");
  WriteDatabaseFile(out_ / "tagl.txt", u"old");
  std::filesystem::create_hard_link(out_ / "tagl.txt", out_ / "class.lst");  // one file, two names
  ui_.messages.clear();
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages, (std::vector<std::u16string>{u"Error saving class file",
                                                       PathToUtf16(out_ / "class.lst") + same}));
  EXPECT_EQ(ReadBytes(out_ / "tagl.txt"), Utf16FileBytes(u"old"));
}

TEST_F(MergeCommandTest, WithoutExchangeTheOldClassListIsStillPutBack) {
  struct NoExchangeEnv : EnvWrapper {
    NoExchangeEnv() : EnvWrapper(Env::Default()) {}
    int ExchangeFiles(const std::filesystem::path&, const std::filesystem::path&) override {
      return ENOSYS;
    }
    int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
      if (to.filename() == "tagl.txt" && fail_tags) return EACCES;
      return target()->RenameFile(from, to);
    }
    bool fail_tags = true;
  } env;
  WriteDatabaseFile(out_ / "class.lst", u"old classes");
  WriteDatabaseFile(out_ / "tagl.txt", u"old tags");
  EXPECT_FALSE(Run(out_, &env));
  EXPECT_EQ(ReadBytes(out_ / "class.lst"), Utf16FileBytes(u"old classes"));
  EXPECT_EQ(ReadBytes(out_ / "tagl.txt"), Utf16FileBytes(u"old tags"));
  EXPECT_EQ(Entries(out_), (std::vector<std::string>{"class.lst", "tagl.txt"}));
  env.fail_tags = false;
  EXPECT_TRUE(Run(out_, &env));
  EXPECT_NE(ReadBytes(out_ / "class.lst"), Utf16FileBytes(u"old classes"));
  EXPECT_EQ(Entries(out_), (std::vector<std::string>{"class.lst", "tagl.txt"}));
}

TEST_F(MergeCommandTest, ARunWaitsForAnotherOnTheFolderThenGivesUpWritingNothing) {
  // Time passes only in the run's pauses, and at once.
  struct FakeClockEnv : EnvWrapper {
    FakeClockEnv() : EnvWrapper(Env::Default()) {}
    std::chrono::steady_clock::time_point Now() override { return now; }
    void SleepFor(std::chrono::steady_clock::duration pause) override {
      now += pause;
      longest_pause = std::max(longest_pause, pause);
    }
    std::chrono::steady_clock::time_point now;
    std::chrono::steady_clock::duration longest_pause{};
  } env;
  std::unique_ptr<FolderLock> other;
  ASSERT_EQ(env.TryLockFolder(out_, &other), 0);
  EXPECT_FALSE(Run(out_, &env));
  EXPECT_EQ(env.now.time_since_epoch(), kFolderLockWait);
  EXPECT_EQ(env.longest_pause, std::chrono::milliseconds(10));
  EXPECT_EQ(ui_.messages, std::vector<std::u16string>{u"Folder " + PathToUtf16(out_ / "") +
                                                      u" is in use by another program"});
  EXPECT_TRUE(std::filesystem::is_empty(out_));
}

// Fails writes to temporary files whose name starts with the given text,
// with an error, once more than `budget` bytes were written to them.
class FailingWritesEnv : public EnvWrapper {
 public:
  FailingWritesEnv(std::string prefix, int error, std::size_t budget)
      : EnvWrapper(Env::Default()), prefix_(std::move(prefix)), error_(error), budget_(budget) {}

  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    int err = target()->OpenFile(path, mode, file);
    const std::string name = path.filename().string();
    if (err == 0 && mode.write && IsTemporaryName(name) && name.starts_with(prefix_)) {
      *file = std::make_unique<Limited>(std::move(*file), error_, budget_);
    }
    return err;
  }

 private:
  class Limited : public FileWrapper {
   public:
    Limited(std::unique_ptr<File> base, int error, std::size_t budget)
        : FileWrapper(std::move(base)), error_(error), budget_(budget) {}
    int WriteAt(std::uint64_t o, const void* s, std::size_t n) override {
      if (n > budget_) return error_;
      budget_ -= n;
      return FileWrapper::WriteAt(o, s, n);
    }

   private:
    int error_;
    std::size_t budget_;
  };

  std::string prefix_;
  int error_;
  std::size_t budget_;
};

TEST_F(MergeCommandTest, DiskFullLeavesTheTargetFolderAsItWas) {
  // Writing into the second folder, as a two-folder batch run does.
  const std::string classes = ReadBytes(b_ / "class.lst");
  const std::string tags = ReadBytes(b_ / "tagl.txt");
  for (const char* prefix : {"tagl.txt", "class.lst", ""}) {
    for (int error : {ENOSPC, EIO}) {
      FailingWritesEnv env(prefix, error, 10);
      ui_.messages.clear();
      EXPECT_FALSE(Run(b_, &env));
      EXPECT_FALSE(ui_.messages.empty());
      EXPECT_EQ(ReadBytes(b_ / "class.lst"), classes);
      EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), tags);
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(b_), {}), 2) << prefix;
    }
  }
}

TEST_F(MergeCommandTest, ReadOnlyOutputFolderLeavesExistingFilesUntouched) {
  struct ReadOnlyEnv : EnvWrapper {
    explicit ReadOnlyEnv(std::filesystem::path folder)
        : EnvWrapper(Env::Default()), folder_(std::move(folder)) {}
    int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
                 std::unique_ptr<File>* file) override {
      if (mode.write && path.parent_path() == folder_) return EROFS;
      return target()->OpenFile(path, mode, file);
    }
    int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
      return to.parent_path() == folder_ ? EROFS : target()->RenameFile(from, to);
    }
    std::filesystem::path folder_;
  } env(out_);
  WriteDatabaseFile(out_ / "tagl.txt", u"old");
  EXPECT_FALSE(Run(out_, &env));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{
                u"Error saving class file",
                Detail(out_ / "class.lst", SystemReason(u"Read-only file system", kWriteProtect)),
                u"Error saving database file",
                Detail(out_ / "tagl.txt", SystemReason(u"Read-only file system", kWriteProtect))}));
  EXPECT_EQ(ReadBytes(out_ / "tagl.txt"), Utf16FileBytes(u"old"));
}

TEST_F(MergeCommandTest, FilesCopiedFromWindowsAreFoundAndWrittenBackUnderTheirSpelling) {
  std::filesystem::rename(a_ / "tagl.txt", a_ / "TAGL.TXT");
  std::filesystem::rename(b_ / "class.lst", b_ / "Class.lst");
  EXPECT_TRUE(Run(b_));
#ifndef _WIN32
  // Under Wine, the file a rename replaces comes out as "class.lst".
  EXPECT_EQ(Entries(b_), (std::vector<std::string>{"Class.lst", "tagl.txt"}));
#endif
  CTagList merged;
  EXPECT_TRUE(merged.LoadTagFile(b_ / "tagl.txt"));
  EXPECT_EQ(FindTag(merged, u"V1")->m_type, 5);  // still a Valve
#ifndef _WIN32  // a Windows folder holds one case variant of a name
  // Two variants without the exact name are refused, in an input or the output.
  const auto refused = [](const std::filesystem::path& folder) {
    return std::vector<std::u16string>{u"Folder " + PathToUtf16(folder / "") +
                                       u" holds more than one file named tagl.txt"};
  };
  WriteDatabaseFile(a_ / "Tagl.txt", u"");
  for (const char* name : {"TAGL.TXT", "Tagl.txt"}) {
    WriteDatabaseFile(b_ / name, u"");  // beside the exact name, which wins
    WriteDatabaseFile(out_ / name, u"");
  }
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages, refused(a_));
  std::filesystem::remove(a_ / "Tagl.txt");
  ui_.messages.clear();
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages, refused(out_));
  EXPECT_EQ(Entries(out_), (std::vector<std::string>{"TAGL.TXT", "Tagl.txt"}));
#endif
}

}  // namespace
}  // namespace junctra
