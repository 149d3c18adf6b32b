// Runs the built program in batch use, as a script would.
#include <fcntl.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <vector>

#include "tests/database_files.h"
#include "tests/temp_dir.h"

#ifndef _WIN32
extern char** environ;  // <stdlib.h> declares it on Windows
#endif

namespace junctra {
namespace {

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

RunResult RunJunctra(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     std::vector<std::string> extra_env = {}) {
  const char* program_dir = std::getenv("JUNCTRA_PROGRAM_DIR");
  std::string program = std::string(program_dir ? program_dir : ".") + "/junctra";
  std::vector<char*> argv = {program.data()};
  std::vector<std::string> copies = args;
  for (auto& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);

  // extra_env: "NAME=value" sets, "-NAME" removes.
  auto key = [](const std::string& e) { return e.substr(0, e.find('=')); };
  std::vector<std::string> env_strings;
  for (char** e = environ; *e; ++e) {
    bool replaced = false;
    for (const auto& x : extra_env) {
      replaced |= key(*e) == (x[0] == '-' ? x.substr(1) : key(x));
    }
    if (!replaced) env_strings.emplace_back(*e);
  }
  for (auto& e : extra_env) {
    if (e[0] != '-') env_strings.push_back(e);
  }
  std::vector<char*> envp;
  for (auto& e : env_strings) envp.push_back(e.data());
  envp.push_back(nullptr);

  const auto out_path = scratch / "stdout", err_path = scratch / "stderr";
  RunResult result;
#ifdef _WIN32
  // The C runtime joins the arguments unquoted; quote each as it splits them.
  std::vector<std::string> quoted;
  for (char* a : argv) {
    if (a == nullptr) break;
    std::string q = "\"";
    std::size_t backslashes = 0;
    for (const char* c = a; *c; ++c) {
      if (*c == '\\') {
        ++backslashes;
      } else {
        if (*c == '"') q.append(backslashes + 1, '\\');
        backslashes = 0;
      }
      q += *c;
    }
    q.append(backslashes, '\\');
    quoted.push_back(q + "\"");
  }
  std::vector<char*> quoted_argv;
  for (auto& q : quoted) quoted_argv.push_back(q.data());
  quoted_argv.push_back(nullptr);
  program += ".exe";
  // The child inherits descriptors 1 and 2, pointed at the files meanwhile.
  std::fflush(stdout);
  std::fflush(stderr);
  const int saved_out = _dup(1), saved_err = _dup(2);
  const int out_fd = _wopen(out_path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0644);
  const int err_fd = _wopen(err_path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0644);
  _dup2(out_fd, 1);
  _dup2(err_fd, 2);
  result.exit_code =
      static_cast<int>(_spawnve(_P_WAIT, program.c_str(), quoted_argv.data(), envp.data()));
  _dup2(saved_out, 1);
  _dup2(saved_err, 2);
  for (int fd : {out_fd, err_fd, saved_out, saved_err}) _close(fd);
#else
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
#endif
  result.out = ReadBytes(out_path);
  result.err = ReadBytes(err_path);
  return result;
}

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto* p : {&a_, &b_, &out_, &scratch_}) std::filesystem::create_directory(*p);
    WriteDatabaseFile(a_ / "class.lst", u"V4.x - CLASS LIST\nClass:Pump\nSpeed|0|2|rpm\n");
    WriteDatabaseFile(a_ / "tagl.txt",
                      TagFile(TagBlock(u"P1", u"1|4|x") + TagBlock(u"Shared", u"0|1|s", u"A=1\n")));
    WriteDatabaseFile(b_ / "tagl.txt",
                      TagFile(TagBlock(u"B1", u"2|1|y") + TagBlock(u"SHARED", u"0|1|s", u"a=1\n")));
  }

  RunResult Run(std::vector<std::string> args) { return RunJunctra(args, scratch_); }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b", out_ = dir_.path() / "out",
                        scratch_ = dir_.path() / "scratch";
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
  RunResult r = Run({a_.string(), out_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Second folder does not contain database files\n");
  r = Run({out_.string(), a_.string(), b_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "First folder does not contain database files\n");
}

TEST_F(BatchRunTest, UnreadableInputAndUnwritableOutputFail) {
  std::filesystem::remove(b_ / "tagl.txt");
  std::filesystem::create_directory(b_ / "tagl.txt");
  RunResult r = Run({a_.string(), b_.string(), out_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Can not open file " + (b_ / "tagl.txt").string() + "\n");
  EXPECT_TRUE(std::filesystem::is_empty(out_));

  const auto missing = dir_.path() / "missing";
  r = Run({a_.string(), a_.string(), missing.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Error saving class file\n" + (missing / "class.lst").string() +
                       ": No such file or directory\nError saving database file\n" +
                       (missing / "tagl.txt").string() + ": No such file or directory\n");
}

TEST_F(BatchRunTest, SettingsFileChoosesGerman) {
#ifdef _WIN32
  GTEST_SKIP() << "HOME and LANG, which place the settings file here, mean nothing on Windows";
#endif
  const auto home = dir_.path() / "home";
  std::filesystem::create_directories(home / ".config/Junctra");
  std::ofstream(home / ".config/Junctra/Program Settings.ini") << "[Language]\nCultureName=de-DE\n";
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"Shared", u"0|2|s", u"A=1\n")));
  RunResult r = RunJunctra({a_.string(), b_.string()}, scratch_,
                           {"HOME=" + home.string(), "-XDG_CONFIG_HOME", "LANG=C"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "Nicht zusammenführbar wegen folgender Konflikte:\n"
            "Tag „Shared“ ist unterschiedlich definiert\n"
            "  Typ: erste 1, zweite 2\n");

  // Without the setting, the locale decides.
  std::filesystem::remove(home / ".config/Junctra/Program Settings.ini");
  r = RunJunctra(
      {a_.string(), out_.string()}, scratch_,
      {"HOME=" + home.string(), "-XDG_CONFIG_HOME", "-LC_ALL", "-LC_MESSAGES", "LANG=de_AT.UTF-8"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Der zweite Ordner enthält keine Datenbankdateien\n");
}

TEST_F(BatchRunTest, FewerThanTwoFoldersNeedTheDialog) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows always has a screen: the dialog opens (win32_ui_test runs it)";
#endif
  RunResult r =
      RunJunctra({a_.string()}, scratch_, {"-DISPLAY", "-WAYLAND_DISPLAY", "-QT_QPA_PLATFORM"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err, "");
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
}

}  // namespace
}  // namespace junctra
