// Generated databases and the built program run as a child process, for the
// tests that try to break Junctra.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/database_files.h"

extern char** environ;

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

// A class list text of count classes named prefix0, ... with two members.
inline std::u16string GeneratedClasses(const std::u16string& prefix, std::size_t count,
                                       std::size_t first = 0) {
  std::u16string text = u"V4.x - CLASS LIST\n";
  for (std::size_t i = first; i < first + count; ++i) {
    text += u"Class:" + prefix + Utf16Number(i) + u"\n";
    text += u"Value|0|" + Utf16Number(i % 9) + u"|Process value\n";
    text += u"State|0|1|Running or stopped\n";
  }
  return text;
}

// Entries of a folder by name, sorted.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::filesystem::path ProgramPath() {
  const char* dir = std::getenv("JUNCTRA_PROGRAM_DIR");
  return std::filesystem::path(dir != nullptr ? dir : ".") / "junctra";
}

struct ChildResult {
  bool started = false;
  bool killed = false;   // ended by the SIGKILL sent
  int exit_code = -1;    // when it exited by itself
  long peak_rss_kb = 0;  // maximum resident set size
  double seconds = 0;
  std::string err;  // standard error
};

// Runs the program with args; standard error goes to err_file. With a
// kill_after, sends SIGKILL once that much time has passed.
inline ChildResult RunProgram(
    const std::vector<std::string>& args, const std::filesystem::path& err_file,
    std::chrono::microseconds kill_after = std::chrono::microseconds(-1)) {
  std::string program = ProgramPath().string();
  std::vector<std::string> copies = args;
  std::vector<char*> argv = {program.data()};
  for (auto& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  ChildResult result;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  result.started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!result.started) return result;
  if (kill_after.count() >= 0) {
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(kill_after);
    timespec delay{static_cast<time_t>(secs.count()),
                   static_cast<long>((kill_after - secs).count() * 1000)};
    while (nanosleep(&delay, &delay) != 0) {
    }
    kill(pid, SIGKILL);  // a child that already ended is a zombie; no harm
  }
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  result.peak_rss_kb = usage.ru_maxrss;
  result.err = ReadBytes(err_file);
  return result;
}

}  // namespace junctra
