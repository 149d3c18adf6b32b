// Runs the built program in batch use, as a script would.
#include <fcntl.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <cwchar>
#include <vector>

#include "platform/text.h"
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

// A path as UTF-8 text, the form arguments and messages take.
std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

#ifdef _WIN32
std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

// The C runtime joins the arguments unquoted; quote each as it splits them.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring q = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
    } else {
      if (c == L'"') q.append(backslashes + 1, L'\\');
      backslashes = 0;
    }
    q += c;
  }
  q.append(backslashes, L'\\');
  return q + L"\"";
}
#endif

// Runs program_name from the program folder with args (UTF-8) and its
// standard output and error going to files in scratch.
RunResult RunProgram(const std::string& program_name, const std::vector<std::string>& args,
                     const std::filesystem::path& scratch,
                     const std::vector<std::string>& extra_env = {}) {
  const char* program_dir = std::getenv("JUNCTRA_PROGRAM_DIR");
  const std::string program = std::string(program_dir ? program_dir : ".") + "/" + program_name;

  // The environment as UTF-8 "NAME=value" strings; extra_env: "NAME=value"
  // sets, "-NAME" removes.
  std::vector<std::string> inherited;
#ifdef _WIN32
  _wgetenv(L"PATH");  // makes the C runtime fill _wenviron
  for (wchar_t** e = _wenviron; e != nullptr && *e != nullptr; ++e) {
    inherited.push_back(Utf16ToUtf8(std::u16string(*e, *e + std::wcslen(*e))));
  }
#else
  for (char** e = environ; *e; ++e) inherited.emplace_back(*e);
#endif
  auto key = [](const std::string& e) { return e.substr(0, e.find('=')); };
  std::vector<std::string> env_strings;
  for (const auto& e : inherited) {
    bool replaced = false;
    for (const auto& x : extra_env) {
      replaced |= key(e) == (x[0] == '-' ? x.substr(1) : key(x));
    }
    if (!replaced) env_strings.push_back(e);
  }
  for (const auto& e : extra_env) {
    if (e[0] != '-') env_strings.push_back(e);
  }

  const auto out_path = scratch / "stdout", err_path = scratch / "stderr";
  RunResult result;
#ifdef _WIN32
  // Wide arguments and environment, so that every character arrives.
  std::vector<std::wstring> wide_args = {Quoted(Wide(program))}, wide_env;
  for (const auto& a : args) wide_args.push_back(Quoted(Wide(a)));
  for (const auto& e : env_strings) wide_env.push_back(Wide(e));
  std::vector<const wchar_t*> argv, envp;
  for (const auto& a : wide_args) argv.push_back(a.c_str());
  for (const auto& e : wide_env) envp.push_back(e.c_str());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  // The child inherits descriptors 1 and 2, pointed at the files meanwhile.
  std::fflush(stdout);
  std::fflush(stderr);
  const int saved_out = _dup(1), saved_err = _dup(2);
  const int out_fd = _wopen(out_path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0644);
  const int err_fd = _wopen(err_path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0644);
  _dup2(out_fd, 1);
  _dup2(err_fd, 2);
  // A run that waits (for a dialog no one sees) is ended after a minute.
  const intptr_t child = _wspawnve(_P_NOWAIT, Wide(program).c_str(), argv.data(), envp.data());
  const auto handle = reinterpret_cast<HANDLE>(child);
  if (child != -1 && ::WaitForSingleObject(handle, 60'000) != WAIT_OBJECT_0) {
    ::TerminateProcess(handle, 255);
  }
  if (child != -1) _cwait(&result.exit_code, child, _WAIT_CHILD);
  _dup2(saved_out, 1);
  _dup2(saved_err, 2);
  for (int fd : {out_fd, err_fd, saved_out, saved_err}) _close(fd);
#else
  std::vector<std::string> copies = args;
  copies.insert(copies.begin(), program);
  std::vector<char*> argv, envp;
  for (auto& a : copies) argv.push_back(a.data());
  for (auto& e : env_strings) envp.push_back(e.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
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

// The program scripts run: on Windows the console one, junctra.com.
RunResult RunJunctra(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::vector<std::string>& extra_env = {}) {
#ifdef _WIN32
  return RunProgram("junctra.com", args, scratch, extra_env);
#else
  return RunProgram("junctra", args, scratch, extra_env);
#endif
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
  EXPECT_EQ(r.err, "Second folder does not contain database files\n" +
                       (out_ / "tagl.txt").string() + ": No such file or directory\n");
  r = Run({out_.string(), a_.string(), b_.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "First folder does not contain database files\n" + (out_ / "tagl.txt").string() +
                       ": No such file or directory\n");
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
  EXPECT_EQ(r.err, "Error saving class file\n" + (missing / "class.lst").string() +
                       ": No such file or directory\nError saving database file\n" +
                       (missing / "tagl.txt").string() + ": No such file or directory\n");
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
  EXPECT_EQ(r.err.rfind("Der zweite Ordner enthält keine Datenbankdateien\n", 0), 0u) << r.err;
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

#ifdef _WIN32
// The PE header's subsystem: 2 for a GUI program, 3 for a console program.
int Subsystem(const std::string& program_name) {
  const std::string bytes =
      ReadBytes(std::filesystem::path(std::getenv("JUNCTRA_PROGRAM_DIR")) / program_name);
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
  RunResult r = RunProgram("junctra.exe", {a_.string(), b_.string(), out_.string()}, scratch_);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(out_ / "tagl.txt"));
  r = RunProgram("junctra.exe", {a_.string(), dir_.path().string()}, scratch_);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err.rfind("Second folder does not contain database files\n", 0), 0u) << r.err;
}
#endif

}  // namespace
}  // namespace junctra
