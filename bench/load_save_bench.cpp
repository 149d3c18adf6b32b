// Times loading and saving a generated tagl.txt (100,000 tags by default)
// against cat FILE > OUT of the same file, and measures the peak memory of
// a process that only loads and saves it.
//
//   load_save_bench [--kind large|small|minimal] [TAGS]
//   load_save_bench --generate FILE [TAGS]  (writes the input only)
//   load_save_bench --load-save IN OUT      (the measured child: prints its
//                                            load, save and teardown seconds)
//   load_save_bench --copy IN OUT           (read and write in 128 KiB blocks)
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "bench/bench_util.h"
#include "database/tag_list.h"

namespace jb = junctra::bench;

namespace {

void Generate(const std::string& path, std::uint32_t tags, jb::TagKind kind = jb::TagKind::kLarge) {
  jb::Utf16Writer file(kind == jb::TagKind::kMinimal);
  file.Append("//4.x - Application Tags\n");
  for (std::uint32_t i = 0; i < tags; ++i) {
    jb::AppendTag(file, "Area" + std::to_string(i % 31) + ".Tag" + std::to_string(i), i, 50, kind);
  }
  if (tags > 0) file.Append("#");
  file.Save(path);
}

int LoadSave(const std::filesystem::path& in, const std::filesystem::path& out) {
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  auto list = std::make_unique<junctra::CTagList>();
  junctra::LoadReport report;
  const bool loaded = list->LoadTagFile(in, &report) && report.complete;
  const auto t1 = Clock::now();
  const bool saved = loaded && list->SaveTagFile(out);
  const auto t2 = Clock::now();
  list.reset();
  const auto t3 = Clock::now();
  std::printf("%f %f %f\n", jb::Seconds(t1 - t0), jb::Seconds(t2 - t1), jb::Seconds(t3 - t2));
  return saved ? 0 : 1;
}

// What any program that looks at the bytes pays at least: cat hands the copy
// to the kernel (copy_file_range), which no reader of the text can.
int Copy(const char* in, const char* out) {
  const int from = ::open(in, O_RDONLY);
  const int to = ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (from < 0 || to < 0) return 1;
  std::vector<char> buffer(128 * 1024);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) return 1;
    if (got == 0) break;
    if (::write(to, buffer.data(), static_cast<std::size_t>(got)) != got) return 1;
  }
  return ::close(to) == 0 && ::close(from) == 0 ? 0 : 1;
}

struct Phases {
  double load = 0, save = 0, teardown = 0;
};

Phases ReadPhases(const std::string& path) {
  Phases p;
  std::ifstream(path) >> p.load >> p.save >> p.teardown;
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (argc == 4 && mode == "--load-save") return LoadSave(argv[2], argv[3]);
  if (argc == 4 && mode == "--copy") return Copy(argv[2], argv[3]);
  if ((argc == 3 || argc == 4) && mode == "--generate") {
    Generate(argv[2], argc == 4 ? static_cast<std::uint32_t>(std::atol(argv[3])) : 100000);
    return 0;
  }
  jb::TagKind kind = jb::TagKind::kLarge;
  std::uint32_t tags = 100000;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--kind" && i + 1 < argc) {
      if (!jb::ParseTagKind(argv[++i], &kind)) return 2;
    } else {
      tags = static_cast<std::uint32_t>(std::atol(argv[i]));
    }
  }
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();

  const auto root = std::filesystem::temp_directory_path() / "junctra-load-save-bench";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  const std::string in = (root / "tagl.txt").string();
  const std::string out = (root / "out.txt").string();
  const std::string empty = (root / "empty.txt").string();
  const std::string phases = (root / "phases").string();
  Generate(in, tags, kind);
  Generate(empty, 0);
  const double mb = static_cast<double>(std::filesystem::file_size(in)) / 1e6;

  // Warm the page cache, then take the median of several runs of each, by
  // turns.
  jb::Run({"/bin/cat", in}, out);
  const jb::Measurement copy = jb::Best(7, [&] { return jb::Run({self, "--copy", in, out}); });
  std::vector<Phases> runs;
  const auto [cat, work] = jb::MedianOfTurns(
      7,
      [&] {
        return jb::Run({"/bin/cat", in}, out);
      },
      [&] {
        jb::Measurement m = jb::Run({self, "--load-save", in, out}, phases);
        runs.push_back(ReadPhases(phases));
        return m;
      });
  std::sort(runs.begin(), runs.end(),
            [](const Phases& a, const Phases& b) { return a.load + a.save < b.load + b.save; });
  const Phases best = runs[runs.size() / 2];
  const jb::Measurement idle = jb::Best(3, [&] {
    return jb::Run({self, "--load-save", empty, out + ".empty"}, phases);
  });
  if (work.exit_code != 0 || idle.exit_code != 0) {
    std::cerr << "load and save failed\n";
    return 1;
  }
  // 8-bit text is written back as UTF-16.
  const bool same = kind == jb::TagKind::kMinimal ||
                    std::filesystem::file_size(in) == std::filesystem::file_size(out);

  const double load_save = best.load + best.save;
  const double peak_mb = work.peak_kib * 1024.0 / 1e6;
  std::printf("%s tags %u, file %.1f MB (%s)%s\n", jb::TagKindName(kind), tags, mb,
              kind == jb::TagKind::kMinimal ? "8-bit, LF" : "UTF-16LE with mark, CR LF",
              kind == jb::TagKind::kMinimal ? ", written back as UTF-16"
              : same                        ? ", written back the same size"
                                            : ", WRITTEN BACK IN ANOTHER SIZE");
  std::printf("cat FILE > OUT        %6.3f s  %6.0f MB/s\n", cat.seconds, mb / cat.seconds);
  std::printf("read + write          %6.3f s  %6.0f MB/s  %5.1f x cat  (128 KiB blocks)\n",
              copy.seconds, mb / copy.seconds, copy.seconds / cat.seconds);
  std::printf(
      "load + save           %6.3f s  %6.0f MB/s  %5.1f x cat  (load %.3f s, save %.3f s)\n",
      load_save, mb / load_save, load_save / cat.seconds, best.load, best.save);
  std::printf("whole process         %6.3f s  %6.0f MB/s  %5.1f x cat  (with teardown %.3f s)\n",
              work.seconds, mb / work.seconds, work.seconds / cat.seconds, best.teardown);
  std::printf(
      "peak memory           %6.1f MB  %5.2f x file  (same process on an empty file %.1f MB)\n",
      peak_mb, peak_mb / mb, idle.peak_kib * 1024.0 / 1e6);
  std::filesystem::remove_all(root);
  return 0;
}
