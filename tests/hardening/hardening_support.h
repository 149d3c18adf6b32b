// Generated databases and the built program run as a child process, for the
// tests that try to break Junctra.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/database_files.h"
#include "tests/run_program.h"
#include "tests/temp_dir.h"

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

// Starts the program once per argument list, all at once, and waits for
// every run.
inline std::vector<RunResult> RunProgramsTogether(
    const std::vector<std::vector<std::string>>& runs) {
  std::vector<Child> children;
  for (const auto& args : runs) {
    std::vector<std::string> command = {ProgramPath()};
    command.insert(command.end(), args.begin(), args.end());
    children.emplace_back(command);
  }
  std::vector<RunResult> results;
  for (Child& child : children) results.push_back(child.Wait());
  return results;
}

#ifdef JUNCTRA_RSS_PROBE
struct MeasuredRun : RunResult {
  long peak_rss_kb = 0;  // the program's peak resident set
};

// Runs the program with args and measures its peak resident set size;
// with address_space, the program may use no more than that many bytes.
inline MeasuredRun RunMeasured(const std::vector<std::string>& args,
                               std::uint64_t address_space = 0) {
  TempDir dir;
  const std::filesystem::path report = dir.path() / "rss";
  std::vector<std::string> command = {JUNCTRA_RSS_PROBE};
  if (address_space != 0) command.insert(command.end(), {"-l", std::to_string(address_space)});
  command.insert(command.end(), {report.string(), ProgramPath()});
  command.insert(command.end(), args.begin(), args.end());
  MeasuredRun result{RunCommand(command)};
  result.peak_rss_kb = std::atol(ReadBytes(report).c_str());
  return result;
}
#endif

}  // namespace junctra
