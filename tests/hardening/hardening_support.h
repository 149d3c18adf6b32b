// Generated databases and the built program run as a child process, for the
// tests that try to break Junctra.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/database_files.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace junctra {

// Sanitizer builds run everything several times slower and with more
// memory; the tests scale down and skip memory limits there.
#if defined(JUNCTRA_SANITIZED_BUILD)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

inline std::u16string Utf16Number(std::size_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// A tag list text of count tags named prefix0, prefix1, ..., each with a
// few section lines; tag i has type code 4 + i % classes when classes > 0.
inline std::u16string GeneratedTags(const std::u16string& prefix, std::size_t count,
                                    std::size_t classes = 0, std::size_t first = 0) {
  std::u16string text = u"//4.x - Application Tags\n";
  for (std::size_t i = first; i < first + count; ++i) {
    const std::u16string n = Utf16Number(i);
    const std::u16string type = classes > 0 ? Utf16Number(4 + i % classes) : u"1";
    text += u"#" + Utf16Number(i + 1) + u"|" + prefix + n + u"|" + n + u"|" + type + u"|Tag " + n +
            u" of the plant|Area " + Utf16Number(i % 7) + u"\n";
    text += u"#Parameters\nAddress=PLC1.DB" + n + u".0\nScanRate=500\n";
    text += u"#Alarm\nHigh=90;Priority=2\n";
    text += u"#History\nValue;Interval=10s\n";
  }
  if (count > 0) text += u"#";
  return text;
}

// A class list text of count classes named prefix0, ... with four members
// each, like a plant's.
inline std::u16string GeneratedClasses(const std::u16string& prefix, std::size_t count,
                                       std::size_t first = 0) {
  std::u16string text = u"V4.x - CLASS LIST\n";
  for (std::size_t i = first; i < first + count; ++i) {
    text += u"Class:" + prefix + Utf16Number(i) + u"\n";
    text += u"Running|0|1|Running feedback\n";
    text += u"Speed|0|" + Utf16Number(i % 9) + u"|Motor speed in rpm\n";
    text += u"Current|0|3|Motor current in A\n";
    text += u"Fault|0|1|Drive fault\n";
  }
  return text;
}

// Writes a database file piece by piece, as UTF-16LE with a byte-order
// mark and CR LF line ends, for files too large to build in memory first.
class Utf16FileWriter {
 public:
  explicit Utf16FileWriter(const std::filesystem::path& path)
      : out_(path, std::ios::binary | std::ios::trunc) {
    out_ << "\xFF\xFE";
  }
  Utf16FileWriter& operator<<(std::u16string_view text) {
    for (char16_t c : text) {
      if (c == u'\n') Put(u'\r');
      Put(c);
    }
    if (buffer_.size() >= (1 << 16)) Flush();
    return *this;
  }
  Utf16FileWriter& operator<<(std::size_t number) { return *this << Utf16Number(number); }
  ~Utf16FileWriter() { Flush(); }

 private:
  void Put(char16_t c) {
    buffer_.push_back(static_cast<char>(c & 0xFF));
    buffer_.push_back(static_cast<char>(c >> 8));
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

  std::ofstream out_;
  std::string buffer_;
};

// Entries of a folder by name, sorted.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Running the program as a child process is POSIX only so far.
#ifndef _WIN32
inline std::filesystem::path ProgramPath() {
  const char* dir = std::getenv("JUNCTRA_PROGRAM_DIR");
  return std::filesystem::path(dir != nullptr ? dir : ".") / "junctra";
}

struct ChildResult {
  bool started = false;
  bool killed = false;   // ended by the SIGKILL sent
  int signal = 0;        // the signal that ended it, if one did
  int exit_code = -1;    // when it exited by itself
  long peak_rss_kb = 0;  // RunMeasured only: the program's peak resident set
  double seconds = 0;
  std::string err;  // standard error
};

// A child process started and not yet waited for.
struct Child {
  pid_t pid = -1;  // -1: it could not be started
  std::chrono::steady_clock::time_point start;
  std::filesystem::path err_file;
};

// Starts command[0] with the rest as arguments; standard error goes to
// err_file.
inline Child StartChild(std::vector<std::string> command, const std::filesystem::path& err_file) {
  std::vector<char*> argv;
  for (auto& a : command) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  Child child;
  child.start = std::chrono::steady_clock::now();
  child.err_file = err_file;
  if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    child.pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

// Waits for the child. With a kill_after, sends SIGKILL once that much time
// has passed since its start, unless it ended first.
inline ChildResult WaitChild(const Child& child,
                             std::chrono::microseconds kill_after = std::chrono::microseconds(-1)) {
  ChildResult result;
  result.started = child.pid >= 0;
  if (!result.started) return result;
  int status = 0;
  bool ended = false;
  if (kill_after.count() >= 0) {
    // Polls every tenth of a millisecond: a child that ends first is not
    // waited for.
    const auto deadline = child.start + kill_after;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
      ended = waitpid(child.pid, &status, WNOHANG) == child.pid;
      timespec step{0, 100000};
      if (!ended) nanosleep(&step, nullptr);
    }
    if (!ended) kill(child.pid, SIGKILL);
  }
  while (!ended && waitpid(child.pid, &status, 0) < 0) {
  }
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - child.start).count();
  result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  result.err = ReadBytes(child.err_file);
  return result;
}

// Runs command[0] with the rest as arguments; standard error goes to
// err_file.
inline ChildResult Spawn(std::vector<std::string> command, const std::filesystem::path& err_file,
                         std::chrono::microseconds kill_after = std::chrono::microseconds(-1)) {
  return WaitChild(StartChild(std::move(command), err_file), kill_after);
}

// Runs the program with args.
inline ChildResult RunProgram(
    const std::vector<std::string>& args, const std::filesystem::path& err_file,
    std::chrono::microseconds kill_after = std::chrono::microseconds(-1)) {
  std::vector<std::string> command = {ProgramPath().string()};
  command.insert(command.end(), args.begin(), args.end());
  return Spawn(std::move(command), err_file, kill_after);
}

// Starts the program once per argument list, all at once, and waits for
// every run; run i writes its standard error to err_files[i].
inline std::vector<ChildResult> RunProgramsTogether(
    const std::vector<std::vector<std::string>>& runs,
    const std::vector<std::filesystem::path>& err_files) {
  std::vector<Child> children;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    std::vector<std::string> command = {ProgramPath().string()};
    command.insert(command.end(), runs[i].begin(), runs[i].end());
    children.push_back(StartChild(std::move(command), err_files[i]));
  }
  std::vector<ChildResult> results;
  for (const Child& child : children) results.push_back(WaitChild(child));
  return results;
}

// Runs the program with args and measures its peak resident set size;
// with address_space, the program may use no more than that many bytes.
inline ChildResult RunMeasured(const std::vector<std::string>& args,
                               const std::filesystem::path& err_file,
                               std::uint64_t address_space = 0) {
  const std::filesystem::path report = err_file.string() + ".rss";
  std::vector<std::string> command = {JUNCTRA_RSS_PROBE};
  if (address_space != 0) command.insert(command.end(), {"-l", std::to_string(address_space)});
  command.insert(command.end(), {report.string(), ProgramPath().string()});
  command.insert(command.end(), args.begin(), args.end());
  ChildResult result = Spawn(std::move(command), err_file);
  result.peak_rss_kb = std::atol(ReadBytes(report).c_str());
  return result;
}
#endif  // _WIN32

}  // namespace junctra
