// Runs the built program in batch use, as a script would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/text.h"
#include "tests/database_files.h"
#include "tests/run_program.h"
#include "tests/system_reason.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// A path as UTF-8 text, the form arguments and messages take.
std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto* p : {&a_, &b_, &out_}) std::filesystem::create_directory(*p);
    WriteDatabaseFile(a_ / "class.lst", u"V4.x - CLASS LIST\nClass:Pump\nSpeed|0|2|rpm\n");
    WriteDatabaseFile(a_ / "tagl.txt",
                      TagFile(TagBlock(u"P1", u"1|4|x") + TagBlock(u"Shared", u"0|1|s", u"A=1\n")));
    WriteDatabaseFile(b_ / "tagl.txt",
                      TagFile(TagBlock(u"B1", u"2|1|y") + TagBlock(u"SHARED", u"0|1|s", u"a=1\n")));
  }

  RunResult Run(std::vector<std::string> args) { return RunProgram(std::move(args)); }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b", out_ = dir_.path() / "out";
};

TEST_F(BatchRunTest, TwoFoldersReplaceTheSecondDatabaseSilently) {
  RunResult r = Run({a_.string(), b_.string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadBytes(b_ / "class.lst"),
            Utf16FileBytes(u"V4.x - CLASS LIST\nClass:Pump\nSpeed|0|2|rpm\n"));
  const std::string tags = ReadBytes(b_ / "tagl.txt");
  EXPECT_NE(tags.find(Utf16FileBytes(u"|B1|2|1|y\n").substr(2)), std::string::npos);
  EXPECT_NE(tags.find(Utf16FileBytes(u"|Shared|0|1|s\n").substr(2)), std::string::npos);
  EXPECT_EQ(tags.find(Utf16FileBytes(u"SHARED").substr(2)), std::string::npos);
}

TEST_F(BatchRunTest, ThirdFolderTakesTheOutputAndExtraArgumentsAreIgnored) {
  const std::string before = ReadBytes(b_ / "tagl.txt");
  RunResult r = Run({"", a_.string(), b_.string(), out_.string(), "/nonexistent", "-x"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), before);
  EXPECT_FALSE(std::filesystem::exists(b_ / "class.lst"));
  EXPECT_TRUE(std::filesystem::exists(out_ / "tagl.txt"));
  EXPECT_TRUE(std::filesystem::exists(out_ / "class.lst"));
}

TEST_F(BatchRunTest, ConflictsAreListedOnStandardErrorAndNothingIsWritten) {
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"Shared", u"0|2|s", u"A=1\n") +
                                             TagBlock(u"p1", u"1|4|other")));
  const std::string before = ReadBytes(b_ / "tagl.txt");
  RunResult r = Run({a_.string(), b_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("Can not merge databases due to the following inconsistencies:\n", 0), 0u)
      << r.err;
  EXPECT_NE(r.err.find("Tag 'Shared' has different definitions\n"), std::string::npos);
  EXPECT_NE(r.err.find("Tag 'p1' has different definitions\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), before);
  EXPECT_FALSE(std::filesystem::exists(b_ / "class.lst"));
}

TEST_F(BatchRunTest, MissingDatabaseFilesFailWithTheirMessage) {
  const std::string missing =
      ": " + Utf16ToUtf8(SystemReason(u"No such file or directory", kFileNotFound)) + "\n";
  RunResult r = Run({a_.string(), out_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Second folder does not contain database files\n" +
                       (out_ / "tagl.txt").string() + missing);
  r = Run({out_.string(), a_.string(), b_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "First folder does not contain database files\n" + (out_ / "tagl.txt").string() +
                       missing);
}

TEST_F(BatchRunTest, UnreadableInputAndUnwritableOutputFail) {
  std::filesystem::remove(b_ / "tagl.txt");
  std::filesystem::create_directory(b_ / "tagl.txt");
  RunResult r = Run({a_.string(), b_.string(), out_.string()});
  EXPECT_EQ(r.exit_code, 1);
  const std::string file = (b_ / "tagl.txt").string();
  EXPECT_EQ(r.err.rfind("Can not open file " + file + "\n" + file + ": ", 0), 0u) << r.err;
  EXPECT_TRUE(std::filesystem::is_empty(out_));

  const auto missing = dir_.path() / "missing";
  r = Run({a_.string(), a_.string(), missing.string()});
  EXPECT_EQ(r.exit_code, 1);
  const std::string reason = Utf16ToUtf8(SystemReason(u"No such file or directory", kFileNotFound));
  EXPECT_EQ(r.err, "Error saving class file\n" + (missing / "class.lst").string() + ": " + reason +
                       "\nError saving database file\n" + (missing / "tagl.txt").string() + ": " +
                       reason + "\n");
}

TEST_F(BatchRunTest, PathsKeepEveryCharacterInArgumentsAndMessages) {
  // A fullwidth quote, which best-fit conversion would make '"'.
  const auto output = dir_.path() / u8"Ausgabe ＂Süd＂";
  std::filesystem::create_directory(output);
  RunResult r = Run({Utf8(a_), Utf8(b_), Utf8(output)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(output / "tagl.txt"));

  // Messages are UTF-8 when standard error is a file.
  std::filesystem::create_directory(output / u8"Prüfstand");
  std::filesystem::create_directory(output / u8"Prüfstand" / "tagl.txt");
  r = Run({Utf8(a_), Utf8(output / u8"Prüfstand"), Utf8(out_)});
  EXPECT_EQ(r.exit_code, 1);
  const std::string file = Utf8(output / u8"Prüfstand" / "tagl.txt");
  EXPECT_EQ(r.err.rfind("Can not open file " + file + "\n" + file + ": ", 0), 0u) << r.err;
}

// A dry run prints the result line and leaves the output folder as it was:
// no file, no temporary, no lock. Against the base, P1's deletion in SECOND
// wins; Shared, which both changed, conflicts until --take decides it.
TEST_F(BatchRunTest, DryRunsWithBaseAndTake) {
  const auto base = dir_.path() / "base";
  std::filesystem::copy(a_, base);
  std::filesystem::copy_file(a_ / "class.lst", b_ / "class.lst");
  WriteDatabaseFile(a_ / "tagl.txt",
                    TagFile(TagBlock(u"P1", u"1|4|x") + TagBlock(u"Shared", u"0|1|first")));
  WriteDatabaseFile(b_ / "tagl.txt",
                    TagFile(TagBlock(u"B1", u"2|1|y") + TagBlock(u"Shared", u"0|1|second")));
  const std::string before = ReadBytes(b_ / "tagl.txt");
  const std::pair<std::vector<std::string>, std::string> kCases[] = {
      {{"--base", base.string()}, ""},
      {{"--base=" + base.string(), "--take", "second"}, "; 0 changed, 1 deleted, 1 decided).\n"},
      {{"--take=first"}, "; 0 changed, 0 deleted, 1 decided).\n"},
  };
  for (auto [args, counts] : kCases) {
    args.insert(args.end(), {"--dry-run", a_.string(), b_.string()});
    RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, counts.empty() ? 1 : 0) << r.err;
    EXPECT_EQ(r.out.empty(), counts.empty());
    EXPECT_TRUE(counts.empty() || (r.out.starts_with("Would merge into " + b_.string() + ": ") &&
                                   r.out.ends_with(counts)))
        << r.out;
  }
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(b_), {}), 2);
}

TEST_F(BatchRunTest, HelpAndVersionGoToStandardOutputAndWrongUseExitsWithTwo) {
  const std::string usage =
      "Usage: junctra [--base BASE] [--take first|second] [--dry-run] FIRST SECOND [OUTPUT]\n";
  RunResult r = Run({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out;
#ifdef _WIN32
  EXPECT_EQ(Run({"/?"}).out, r.out);
#endif
  r = Run({"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out.rfind("Junctra version ", 0), 0u) << r.out;

  r = Run({"--take", "third", a_.string(), b_.string()});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Option --take needs first or second\n" + usage);
  EXPECT_FALSE(std::filesystem::exists(b_ / "class.lst"));
}

#ifdef _WIN32
// "A\" "B\" (as "%~dp0" gives) arrives as the one argument A" B, and
// A "B\" OUT as A and B" OUT: no folders. D: is the drive's current folder.
TEST_F(BatchRunTest, QuotedBackslashesAreRefusedAndDrivesMeanTheirCurrentFolder) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{a_.string() + "\" " + b_.string() + "\""},
        {a_.string(), b_.string() + "\" " + out_.string()}}) {
    RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, 2) << args.back();
    EXPECT_EQ(r.err, args.back() + " is not a folder name: it holds a quotation mark\n");
    EXPECT_TRUE(std::filesystem::is_empty(out_));
  }
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(a_);
  RunResult r = Run({a_.root_name().string(), b_.string(), out_.string()});
  std::filesystem::current_path(before);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(out_ / "tagl.txt"));
}
#endif

TEST_F(BatchRunTest, SettingsFileChoosesGerman) {
#ifdef _WIN32
  GTEST_SKIP() << "HOME and LANG, which place the settings file here, mean nothing on Windows";
#endif
  const auto home = dir_.path() / "home";
  std::filesystem::create_directories(home / ".config/Junctra");
  std::ofstream(home / ".config/Junctra/Program Settings.ini") << "[Language]\nCultureName=de-DE\n";
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"Shared", u"0|2|s", u"A=1\n")));
  RunResult r = RunProgram({a_.string(), b_.string()},
                           {{"HOME=" + home.string(), "-XDG_CONFIG_HOME", "LANG=C"}});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "Vereinen nicht möglich wegen folgender Konflikte:\n"
            "Tag „Shared“ ist unterschiedlich definiert\n"
            "  Typ: erste 1, zweite 2\n");

  // Without the setting, the locale decides.
  std::filesystem::remove(home / ".config/Junctra/Program Settings.ini");
  r = RunProgram({a_.string(), out_.string()}, {{"HOME=" + home.string(), "-XDG_CONFIG_HOME",
                                                 "-LC_ALL", "-LC_MESSAGES", "LANG=de_AT.UTF-8"}});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err.rfind("Der zweite Ordner enthält keine Datenbankdateien\n", 0), 0u) << r.err;
  r = RunProgram({"--version"}, {{"HOME=" + home.string(), "-XDG_CONFIG_HOME", "-LC_ALL",
                                  "-LC_MESSAGES", "LANG=de_AT.UTF-8"}});
  EXPECT_EQ(r.out.rfind("Junctra Version ", 0), 0u) << r.out;
}

TEST_F(BatchRunTest, FewerThanTwoFoldersNeedTheDialog) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows always has a screen: the dialog opens (win32_ui_test runs it)";
#endif
  RunResult r = RunProgram({a_.string()}, {{"-DISPLAY", "-WAYLAND_DISPLAY", "-QT_QPA_PLATFORM"}});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err, "");
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
}

#ifdef _WIN32
// The PE header's subsystem: 2 for a GUI program, 3 for a console program.
int Subsystem(const std::string& program_name) {
  const std::string bytes = ReadBytes(ProgramPath(program_name));
  auto at = [&](std::size_t offset, std::size_t size) {
    unsigned value = 0;
    for (std::size_t i = 0; i < size && offset + i < bytes.size(); ++i) {
      value |= static_cast<unsigned char>(bytes[offset + i]) << (8 * i);
    }
    return value;
  };
  const std::size_t pe = at(0x3C, 4);
  if (bytes.compare(0, 2, "MZ") != 0 || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
    return -1;
  }
  return static_cast<int>(at(pe + 24 + 68, 2));  // the optional header's Subsystem field
}

// Explorer starts junctra.exe without a console window; cmd.exe waits for
// junctra.com and shows what it prints.
TEST_F(BatchRunTest, ExeIsTheGuiProgramAndComTheConsoleProgram) {
  EXPECT_EQ(Subsystem("junctra.exe"), 2);
  EXPECT_EQ(Subsystem("junctra.com"), 3);

  // Both merge alike in batch use.
  const std::string exe = ProgramPath("junctra.exe");
  RunResult r = RunCommand({exe, a_.string(), b_.string(), out_.string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(out_ / "tagl.txt"));
  r = RunCommand({exe, a_.string(), dir_.path().string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err.rfind("Second folder does not contain database files\n", 0), 0u) << r.err;
}
#endif

}  // namespace
}  // namespace junctra
