// Small helpers shared by the timing harnesses: database generation,
// running a command and measuring its time and peak memory.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace junctra::bench {

// Accumulates text and stores it as the program writes database files:
// UTF-16LE with a byte-order mark, each "\n" as CR LF; or, eight_bit, one
// byte a character with "\n" as it is.
class Utf16Writer {
 public:
  explicit Utf16Writer(bool eight_bit = false) : eight_bit_(eight_bit) {
    if (!eight_bit_) bytes_ = "\xFF\xFE";
  }
  void Append(const std::string& ascii) {
    for (char c : ascii) {
      if (c == '\n' && !eight_bit_) Put('\r');
      Put(c);
    }
  }
  void Save(const std::filesystem::path& path) const {
    std::ofstream(path, std::ios::binary) << bytes_;
  }
  std::size_t size() const { return bytes_.size(); }

 private:
  void Put(char c) {
    bytes_.push_back(c);
    if (!eight_bit_) bytes_.push_back('\0');
  }
  bool eight_bit_;
  std::string bytes_;
};

inline std::string RandomText(std::mt19937& rng, std::size_t length) {
  static const char kChars[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _.,=";
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text.push_back(kChars[rng() % (sizeof(kChars) - 1)]);
  return text;
}

// The tag sizes the harnesses generate: large, about 600 bytes a tag in
// UTF-16 with several lines a section; small, about 300 with a line or two;
// minimal, "#N|TN|0|1|x" and three empty sections, 8-bit.
enum class TagKind { kLarge, kSmall, kMinimal };

// "large", "small" or "minimal" from a --kind argument; false for others.
inline bool ParseTagKind(const std::string& text, TagKind* kind) {
  if (text == "large")
    *kind = TagKind::kLarge;
  else if (text == "small")
    *kind = TagKind::kSmall;
  else if (text == "minimal")
    *kind = TagKind::kMinimal;
  else
    return false;
  return true;
}

inline const char* TagKindName(TagKind kind) {
  return kind == TagKind::kLarge ? "large" : kind == TagKind::kSmall ? "small" : "minimal";
}

// One tag block in the written layout; the tag's content depends only on
// its index, the kind and the seed, so two databases can share tags exactly.
inline void AppendTag(Utf16Writer& out, const std::string& name, std::uint32_t index,
                      std::uint32_t classes, TagKind kind = TagKind::kLarge) {
  if (kind == TagKind::kMinimal) {
    out.Append("#" + std::to_string(index + 1) + "|" + name +
               "|0|1|x\n#Parameters\n#Alarm\n"
               "#History\n");
    return;
  }
  const bool small = kind == TagKind::kSmall;
  std::mt19937 rng(index * 2654435761u + 12345u);
  const int type = static_cast<int>(rng() % 3 == 0 ? 1 + rng() % 3 : 4 + rng() % classes);
  const std::size_t rest = small ? 6 + rng() % 21 : 19 + rng() % 41;
  out.Append("#" + std::to_string(index + 1) + "|" + name + "|" + std::to_string(rng() % 1000) +
             "|" + std::to_string(type) + "|" + RandomText(rng, rest) + "\n");
  const int lines = small ? 2 + static_cast<int>(rng() % 3) : 3 + static_cast<int>(rng() % 8);
  const char* kSections[] = {"#Parameters\n", "#Alarm\n", "#History\n"};
  for (int s = 0; s < 3; ++s) {
    out.Append(kSections[s]);
    for (int l = s; l < lines; l += 3) {
      out.Append(RandomText(rng, small ? 8 + rng() % 25 : 10 + rng() % 40) + "\n");
    }
  }
}

inline double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

struct Measurement {
  double seconds = 0;
  long peak_kib = 0;
  int exit_code = -1;
};

// Runs argv (stdout to out_file, stderr to err_file when given) and returns
// its wall time and peak resident memory.
inline Measurement Run(const std::vector<std::string>& argv, const std::string& out_file = {},
                       const std::string& err_file = {}) {
  Measurement m;
  std::fflush(nullptr);  // or the child writes our buffered output again
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (!out_file.empty()) {
      if (!std::freopen(out_file.c_str(), "wb", stdout)) _exit(127);
    }
    if (!err_file.empty()) {
      if (!std::freopen(err_file.c_str(), "wb", stderr)) _exit(127);
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  m.seconds = Seconds(std::chrono::steady_clock::now() - start);
  m.peak_kib = usage.ru_maxrss;
  m.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return m;
}

// The best of several runs: the least disturbed by the rest of the machine.
template <class F>
Measurement Best(int runs, F run) {
  Measurement best;
  for (int i = 0; i < runs; ++i) {
    Measurement m = run();
    if (i == 0 || m.seconds < best.seconds) best = m;
  }
  return best;
}

// Runs a and b by turns, runs times each, and returns the median of each
// (its time, with the peak and exit code of that run): a disturbance of
// the machine then falls on both alike.
template <class A, class B>
std::pair<Measurement, Measurement> MedianOfTurns(int runs, A a, B b) {
  std::vector<Measurement> as, bs;
  for (int i = 0; i < runs; ++i) {
    as.push_back(a());
    bs.push_back(b());
  }
  const auto median = [](std::vector<Measurement>& ms) {
    std::sort(ms.begin(), ms.end(),
              [](const Measurement& x, const Measurement& y) { return x.seconds < y.seconds; });
    return ms[ms.size() / 2];
  };
  return {median(as), median(bs)};
}

}  // namespace junctra::bench
