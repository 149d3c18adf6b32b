// Times the batch merge of two generated databases against concatenating
// their tag lists with cat, at 100,000 and 400,000 tags each (300,000 and
// 1,200,000 of minimal tags), the median of five runs of each by turns;
// then, at the first size, the same run when every shared tag conflicts,
// and a three-way merge of two edited copies of a base against the two-way
// merge.
//
//   merge_bench PATH_TO_JUNCTRA [--kind large|small|minimal] [TAGS...]
//   merge_bench --generate FOLDER TAGS [KIND]  (writes the databases only,
//                                               to profile a run on them)
//
// Environment: JUNCTRA_BENCH_DIR, the folder to work in (default /dev/shm);
// JUNCTRA_BENCH_KEEP, leave the generated databases behind.
#include <cstdlib>
#include <iostream>

#include "bench/bench_util.h"

namespace jb = junctra::bench;

namespace {

constexpr std::uint32_t kClasses = 200;

void WriteClassList(const std::filesystem::path& path) {
  jb::Utf16Writer out;
  out.Append("V4.x - CLASS LIST\n");
  for (std::uint32_t c = 0; c < kClasses; ++c) {
    out.Append("Class:PlantEquipmentClassDefinition_" + std::to_string(c) + "\n");
    for (int m = 0; m < 4; ++m) {
      out.Append("Member" + std::to_string(m) + "|0|" + std::to_string(m + 1) + "|text " +
                 std::to_string(c) + "\n");
    }
  }
  out.Save(path);
}

// Half of each database's tags are shared with identical definitions; every
// tenth shared tag is spelt in other letter case in the second database.
// conflicting: every shared tag of the second database has one more History
// line, the last part the check and its details look at.
void WriteDatabases(const std::filesystem::path& root, std::uint32_t tags, jb::TagKind kind,
                    bool conflicting = false) {
  const bool eight_bit = kind == jb::TagKind::kMinimal;
  jb::Utf16Writer first(eight_bit), second(eight_bit);
  first.Append("//4.x - Application Tags\n");
  second.Append("//4.x - Application Tags\n");
  for (std::uint32_t i = 0; i < tags; ++i) {
    const std::string name = "Unit" + std::to_string(i % 97) + "_Tag" + std::to_string(i);
    jb::AppendTag(first, name, i, kClasses, kind);
    if (i < tags / 2) {
      std::string other = name;
      if (i % 10 == 0) {
        for (char& c : other) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      }
      jb::AppendTag(second, other, i, kClasses, kind);
      if (conflicting) second.Append("Changed in the second database\n");
    } else {
      jb::AppendTag(second, "Second" + name, i + tags, kClasses, kind);
    }
  }
  first.Append("#");
  second.Append("#");
  for (const char* db : {"first", "second", "out", "cat"})
    std::filesystem::create_directories(root / db);
  first.Save(root / "first/tagl.txt");
  second.Save(root / "second/tagl.txt");
  if (kind == jb::TagKind::kMinimal) return;  // their type codes name no class
  WriteClassList(root / "first/class.lst");
  WriteClassList(root / "second/class.lst");
}

// A base of tags tags and two edited copies of it, of as many tags: each
// side changes every twentieth tag (others on each side), deletes every
// fiftieth (others on each side) and adds as many as it deletes; the
// second spells every tenth name in capitals.
void WriteThreeWay(const std::filesystem::path& root, std::uint32_t tags, jb::TagKind kind) {
  const bool eight_bit = kind == jb::TagKind::kMinimal;
  jb::Utf16Writer base(eight_bit),
      sides[2] = {jb::Utf16Writer(eight_bit), jb::Utf16Writer(eight_bit)};
  for (jb::Utf16Writer* out : {&base, &sides[0], &sides[1]}) {
    out->Append("//4.x - Application Tags\n");
  }
  for (std::uint32_t i = 0; i < tags; ++i) {
    const std::string name = "Unit" + std::to_string(i % 97) + "_Tag" + std::to_string(i);
    jb::AppendTag(base, name, i, kClasses, kind);
    for (std::uint32_t side = 0; side < 2; ++side) {
      jb::Utf16Writer& out = sides[side];
      if (i % 50 == 3 + side * 4) {
        jb::AppendTag(out, "Added" + std::to_string(side) + name, i + tags, kClasses, kind);
        continue;
      }
      std::string spelt = name;
      if (side == 1 && i % 10 == 0) {
        for (char& c : spelt) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      }
      jb::AppendTag(out, spelt, i, kClasses, kind);
      if (i % 20 == 1 + side * 10) out.Append("Changed on one side\n");
    }
  }
  const char* folders[] = {"base", "first", "second"};
  jb::Utf16Writer* outs[] = {&base, &sides[0], &sides[1]};
  for (int i = 0; i < 3; ++i) {
    std::filesystem::create_directories(root / folders[i]);
    outs[i]->Append("#");
    outs[i]->Save(root / folders[i] / "tagl.txt");
    if (kind != jb::TagKind::kMinimal) WriteClassList(root / folders[i] / "class.lst");
  }
  std::filesystem::create_directories(root / "out");
}

std::uintmax_t InputBytes(const std::filesystem::path& root) {
  std::uintmax_t total = 0;
  for (const char* db : {"first", "second", "base"}) {
    for (const char* file : {"tagl.txt", "class.lst"}) {
      if (std::filesystem::exists(root / db / file))
        total += std::filesystem::file_size(root / db / file);
    }
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  jb::TagKind kind = jb::TagKind::kLarge;
  if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--generate") {
    if (argc == 5 && !jb::ParseTagKind(argv[4], &kind)) return 2;
    WriteDatabases(argv[2], static_cast<std::uint32_t>(std::atol(argv[3])), kind);
    return 0;
  }
  if (argc < 2) {
    std::cerr << "usage: merge_bench PATH_TO_JUNCTRA [--kind large|small|minimal] [TAGS...]\n";
    return 2;
  }
  const std::string junctra = std::filesystem::absolute(argv[1]);
  std::vector<std::uint32_t> sizes;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--kind" && i + 1 < argc) {
      if (!jb::ParseTagKind(argv[++i], &kind)) {
        std::cerr << "merge_bench: unknown kind " << argv[i] << "\n";
        return 2;
      }
      continue;
    }
    sizes.push_back(static_cast<std::uint32_t>(std::atol(argv[i])));
  }
  if (sizes.empty()) {
    sizes = kind == jb::TagKind::kMinimal ? std::vector<std::uint32_t>{300000, 1200000}
                                          : std::vector<std::uint32_t>{100000, 400000};
  }

  // In memory by default, where syncing to the device costs nothing, so the
  // figures show the program's own work; JUNCTRA_BENCH_DIR measures a disk.
  std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
  if (const char* dir = std::getenv("JUNCTRA_BENCH_DIR")) base = dir;
  const auto root = base / "junctra-merge-bench";
  std::cout << jb::TagKindName(kind) << " tags, in " << base << "\n";
  std::vector<double> merge_times;
  std::cout << "tags/db  input MB  cat s   merge s  merge/cat  peak MB  peak/input\n";
  for (std::uint32_t tags : sizes) {
    std::filesystem::remove_all(root);
    WriteDatabases(root, tags, kind);
    const double input_mb = static_cast<double>(InputBytes(root)) / 1e6;
    const std::string first = (root / "first").string(), second = (root / "second").string();
    const auto [cat, merge] = jb::MedianOfTurns(
        5,
        [&] {
          return jb::Run({"/bin/cat", first + "/tagl.txt", second + "/tagl.txt"},
                         (root / "cat/tagl.txt").string());
        },
        [&] {
          return jb::Run({junctra, first, second, (root / "out").string()});
        });
    if (merge.exit_code != 0) {
      std::cerr << "merge failed with exit code " << merge.exit_code << "\n";
      return 1;
    }
    merge_times.push_back(merge.seconds);
    std::printf("%7u  %8.1f  %6.3f  %7.3f  %9.2f  %7.1f  %10.2f\n", tags, input_mb, cat.seconds,
                merge.seconds, merge.seconds / cat.seconds, merge.peak_kib / 1024.0,
                merge.peak_kib * 1024.0 / 1e6 / input_mb);
  }
  if (merge_times.size() == 2) {
    std::printf("time at %u / time at %u: %.2f\n", sizes[1], sizes[0],
                merge_times[1] / merge_times[0]);
  }

  // Conflicts cost their details and their lines on standard error; the run
  // writes no output files.
  std::filesystem::remove_all(root);
  WriteDatabases(root, sizes[0], kind, true);
  const std::string first = (root / "first").string(), second = (root / "second").string();
  jb::Measurement conflicts = jb::Best(3, [&] {
    return jb::Run({junctra, first, second, (root / "out").string()}, {},
                   (root / "errors.txt").string());
  });
  if (conflicts.exit_code != 1) {
    std::cerr << "conflicting merge ended with exit code " << conflicts.exit_code << "\n";
    return 1;
  }
  std::printf("%u conflicts at %u tags: %.3f s, %.2f times the run without conflicts\n",
              sizes[0] / 2, sizes[0], conflicts.seconds, conflicts.seconds / merge_times[0]);

  // The three-way merge of two edited copies of a base against the two-way
  // merge of two databases of as many tags, taking turns.
  std::filesystem::remove_all(root);
  WriteDatabases(root / "two", sizes[0], kind);
  WriteThreeWay(root / "three", sizes[0], kind);
  const auto folder = [&](const char* run, const char* db) { return (root / run / db).string(); };
  const std::vector<std::string> two_way = {junctra, folder("two", "first"),
                                            folder("two", "second"), folder("two", "out")};
  const std::vector<std::string> three_way = {junctra,
                                              "--base",
                                              folder("three", "base"),
                                              folder("three", "first"),
                                              folder("three", "second"),
                                              folder("three", "out")};
  const auto [two, three] = jb::MedianOfTurns(
      5, [&] { return jb::Run(two_way); }, [&] { return jb::Run(three_way); });
  if (two.exit_code != 0 || three.exit_code != 0) {
    std::cerr << "merges failed with exit codes " << two.exit_code << " and " << three.exit_code
              << "\n";
    return 1;
  }
  const double three_mb = static_cast<double>(InputBytes(root / "three")) / 1e6;
  std::printf(
      "three-way at 3 x %u tags (%.1f MB): %.3f s, %.2f times the two-way merge of 2 x %u "
      "(%.3f s); peak %.1f MB, %.2f times the input\n",
      sizes[0], three_mb, three.seconds, three.seconds / two.seconds, sizes[0], two.seconds,
      three.peak_kib / 1024.0, three.peak_kib * 1024.0 / 1e6 / three_mb);
  if (std::getenv("JUNCTRA_BENCH_KEEP") == nullptr) std::filesystem::remove_all(root);
  return 0;
}
