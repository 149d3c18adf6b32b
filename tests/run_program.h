// A program run as a child process, as a script runs it: arguments and
// environment in UTF-8, standard input empty, standard output and error
// captured.
#pragma once

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
// Env has methods of these names.
#undef GetEnvironmentVariable
#undef LoadLibrary
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "tests/database_files.h"
#include "tests/temp_dir.h"

#ifndef _WIN32
extern char** environ;  // <stdlib.h> declares it on Windows
#endif

namespace junctra {

struct RunOptions {
  // Changes to the inherited environment: "NAME=value" sets, "-NAME" removes.
  std::vector<std::string> env;
  // The child is ended once this much time has passed since its start;
  // negative: no limit. On Windows, which always has a screen, a run that
  // waits for a dialog no one sees is ended after a minute anyway.
  std::chrono::microseconds time_limit{-1};
};

struct RunResult {
  bool started = false;
  bool killed = false;  // ended by SIGKILL, or at the time limit on Windows
  int signal = 0;       // the signal that ended it, if one did
  int exit_code = -1;   // when it exited by itself
  double seconds = 0;
  std::string out;
  std::string err;
};

// A program of the build's program folder; by default the one scripts run,
// on Windows the console program junctra.com.
#ifdef _WIN32
inline std::string ProgramPath(std::string_view name = "junctra.com") {
#else
inline std::string ProgramPath(std::string_view name = "junctra") {
#endif
  const char* dir = std::getenv("JUNCTRA_PROGRAM_DIR");
  return std::string(dir != nullptr ? dir : ".") + "/" + std::string(name);
}

// The inherited environment as "NAME=value" strings, with the changes.
inline std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> inherited;
#ifdef _WIN32
  _wgetenv(L"PATH");  // makes the C runtime fill _wenviron
  for (wchar_t** e = _wenviron; e != nullptr && *e != nullptr; ++e) {
    inherited.push_back(Utf16ToUtf8(std::u16string(*e, *e + std::wcslen(*e))));
  }
#else
  for (char** e = environ; *e != nullptr; ++e) inherited.emplace_back(*e);
#endif
  auto key = [](const std::string& e) { return e.substr(0, e.find('=')); };
  std::vector<std::string> env;
  for (const auto& e : inherited) {
    bool replaced = false;
    for (const auto& x : changes) replaced |= key(e) == (x[0] == '-' ? x.substr(1) : key(x));
    if (!replaced) env.push_back(e);
  }
  for (const auto& e : changes) {
    if (e[0] != '-') env.push_back(e);
  }
  return env;
}

#ifdef _WIN32
inline std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

// The C runtime joins the arguments unquoted; quote each as it splits them.
inline std::wstring QuotedArgument(const std::wstring& argument) {
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

// A child process started and not yet waited for.
class Child {
 public:
  // Starts command[0] with the rest as arguments.
  explicit Child(const std::vector<std::string>& command, const RunOptions& options = {})
      : capture_(std::make_unique<TempDir>()),
        start_(std::chrono::steady_clock::now()),
        time_limit_(options.time_limit) {
    const std::vector<std::string> env = ChangedEnvironment(options.env);
#ifdef _WIN32
    // Wide arguments and environment, so that every character arrives.
    std::vector<std::wstring> wide_args, wide_env;
    for (const auto& a : command) wide_args.push_back(QuotedArgument(Wide(a)));
    for (const auto& e : env) wide_env.push_back(Wide(e));
    std::vector<const wchar_t*> argv, envp;
    for (const auto& a : wide_args) argv.push_back(a.c_str());
    for (const auto& e : wide_env) envp.push_back(e.c_str());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    // The child inherits descriptors 1 and 2, pointed at the files meanwhile.
    std::fflush(stdout);
    std::fflush(stderr);
    const int saved_out = _dup(1), saved_err = _dup(2);
    const int flags = _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY;
    const int out_fd = _wopen(out_path().c_str(), flags, 0644);
    const int err_fd = _wopen(err_path().c_str(), flags, 0644);
    _dup2(out_fd, 1);
    _dup2(err_fd, 2);
    child_ = _wspawnve(_P_NOWAIT, Wide(command[0]).c_str(), argv.data(), envp.data());
    _dup2(saved_out, 1);
    _dup2(saved_err, 2);
    for (int fd : {out_fd, err_fd, saved_out, saved_err}) _close(fd);
#else
    std::vector<std::string> args = command, env_copy = env;
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    for (auto& e : env_copy) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, 1, out_path().c_str(), flags, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path().c_str(), flags, 0644);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
#endif
  }

#ifndef _WIN32
  pid_t pid() const { return pid_; }  // -1: it could not be started
#endif

  // Waits for the child to end, or ends it at the time limit.
  RunResult Wait() {
    RunResult result;
#ifdef _WIN32
    result.started = child_ != -1;
    if (!result.started) return result;
    const auto limit = time_limit_.count() >= 0 ? time_limit_ : std::chrono::minutes(1);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        start_ + limit - std::chrono::steady_clock::now());
    const auto handle = reinterpret_cast<HANDLE>(child_);
    if (::WaitForSingleObject(handle, static_cast<DWORD>(std::max<long long>(left.count(), 0))) !=
        WAIT_OBJECT_0) {
      ::TerminateProcess(handle, 255);
      result.killed = true;
    }
    _cwait(&result.exit_code, child_, _WAIT_CHILD);
#else
    result.started = pid_ >= 0;
    if (!result.started) return result;
    int status = 0;
    bool ended = false;
    if (time_limit_.count() >= 0) {
      // Polls every tenth of a millisecond: a child that ends first is not
      // waited for.
      const auto deadline = start_ + time_limit_;
      while (!ended && std::chrono::steady_clock::now() < deadline) {
        ended = waitpid(pid_, &status, WNOHANG) == pid_;
        timespec step{0, 100000};
        if (!ended) nanosleep(&step, nullptr);
      }
      if (!ended) kill(pid_, SIGKILL);
    }
    while (!ended && waitpid(pid_, &status, 0) < 0) {
    }
    result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
#endif
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    result.out = ReadBytes(out_path());
    result.err = ReadBytes(err_path());
    return result;
  }

 private:
  std::filesystem::path out_path() const { return capture_->path() / "stdout"; }
  std::filesystem::path err_path() const { return capture_->path() / "stderr"; }

  std::unique_ptr<TempDir> capture_;  // movable, for a vector of children
  std::chrono::steady_clock::time_point start_;
  std::chrono::microseconds time_limit_;
#ifdef _WIN32
  intptr_t child_ = -1;
#else
  pid_t pid_ = -1;
#endif
};

// Runs command[0] with the rest as arguments.
inline RunResult RunCommand(const std::vector<std::string>& command,
                            const RunOptions& options = {}) {
  return Child(command, options).Wait();
}

// Runs the program scripts run with args.
inline RunResult RunProgram(std::vector<std::string> args, const RunOptions& options = {}) {
  args.insert(args.begin(), ProgramPath());
  return RunCommand(args, options);
}

}  // namespace junctra
