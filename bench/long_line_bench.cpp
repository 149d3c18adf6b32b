// Times the batch merge of a database whose file holds one line of many
// megabytes (200 by default), against cat of the same files, and measures
// its peak memory against the input: a section line and a tag line in
// UTF-16, a tag line in 8-bit text, and a class member's text.
//
//   long_line_bench PATH_TO_JUNCTRA [MEGABYTES]
//
// Environment: JUNCTRA_BENCH_DIR, the folder to work in (default /dev/shm).
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "bench/bench_util.h"

namespace jb = junctra::bench;

namespace {

// Writes text as the program's files hold it (UTF-16LE with a mark, or 8-bit
// text), each "\n" as CR LF; "@" stands for the long line of bytes bytes.
void WriteFile(const std::filesystem::path& path, const std::string& text, bool utf16,
               std::uintmax_t bytes) {
  std::ofstream out(path, std::ios::binary);
  if (utf16) out << "\xFF\xFE";
  auto put = [&](const std::string& ascii) {
    std::string encoded;
    for (char c : ascii) {
      if (c == '\n') encoded += utf16 ? std::string("\r\0", 2) : std::string("\r");
      encoded += c;
      if (utf16) encoded += '\0';
    }
    out << encoded;
  };
  for (char c : text) {
    if (c != '@') {
      put(std::string(1, c));
      continue;
    }
    // In blocks of a megabyte; never a "#", which would start a header.
    const std::uintmax_t chars = bytes / (utf16 ? 2 : 1);
    std::string block;
    for (std::uintmax_t i = 0; i < (1u << 20); ++i) block += static_cast<char>('a' + i % 26);
    std::string encoded;
    for (char b : block) {
      encoded += b;
      if (utf16) encoded += '\0';
    }
    for (std::uintmax_t done = 0; done < chars; done += block.size()) {
      const std::uintmax_t n = std::min<std::uintmax_t>(block.size(), chars - done);
      out.write(encoded.data(), static_cast<std::streamsize>(n * (utf16 ? 2 : 1)));
    }
  }
}

struct Case {
  const char* what;
  const char* tags;     // the first database's tagl.txt
  const char* classes;  // its class.lst, or null
  bool utf16;
};

std::uintmax_t FolderBytes(const std::filesystem::path& folder) {
  std::uintmax_t total = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) total += entry.file_size();
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: long_line_bench PATH_TO_JUNCTRA [MEGABYTES]\n";
    return 2;
  }
  const std::string junctra = std::filesystem::absolute(argv[1]);
  const std::uintmax_t bytes = (argc > 2 ? std::atol(argv[2]) : 200) * std::uintmax_t{1000000};
  std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
  if (const char* dir = std::getenv("JUNCTRA_BENCH_DIR")) base = dir;
  const auto root = base / "junctra-long-line-bench";

  const Case cases[] = {
      {"UTF-16 section line",
       "//4.x - Application Tags\n#1|Long|1|1|x\n#Parameters\n@\n#Alarm\n"
       "#History\n#",
       nullptr, true},
      {"UTF-16 tag line",
       "//4.x - Application Tags\n#1|Long|1|1|@\n#Parameters\n#Alarm\n#History\n#", nullptr, true},
      {"8-bit tag line",
       "//4.x - Application Tags\n#1|Long|1|1|@\n#Parameters\n#Alarm\n#History\n#", nullptr, false},
      {"UTF-16 class member text",
       "//4.x - Application Tags\n#1|Long|1|4|x\n#Parameters\n#Alarm\n"
       "#History\n#",
       "V4.x - CLASS LIST\nClass:Pump\nText|0|1|@\n", true},
  };
  std::cout << "in " << base << ", lines of " << bytes / 1000000 << " MB\n";
  std::cout << "case                       input MB  cat s   merge s  merge/cat  peak MB  "
               "peak/input\n";
  for (const Case& c : cases) {
    std::filesystem::remove_all(root);
    for (const char* db : {"first", "second", "out", "cat"})
      std::filesystem::create_directories(root / db);
    WriteFile(root / "first/tagl.txt", c.tags, c.utf16, bytes);
    if (c.classes != nullptr) WriteFile(root / "first/class.lst", c.classes, c.utf16, bytes);
    WriteFile(root / "second/tagl.txt",
              "//4.x - Application Tags\n#1|Other|2|1|y\n#Parameters\n#Alarm\n#History\n#", true,
              0);
    const double input_mb =
        static_cast<double>(FolderBytes(root / "first") + FolderBytes(root / "second")) / 1e6;
    const std::string first = (root / "first").string(), second = (root / "second").string();
    std::vector<std::string> cat_args = {"/bin/cat", first + "/tagl.txt"};
    if (c.classes != nullptr) cat_args.push_back(first + "/class.lst");
    cat_args.push_back(second + "/tagl.txt");
    const jb::Measurement cat =
        jb::Best(2, [&] { return jb::Run(cat_args, (root / "cat/all").string()); });
    const jb::Measurement merge = jb::Best(2, [&] {
      return jb::Run({junctra, first, second, (root / "out").string()});
    });
    if (merge.exit_code != 0) {
      std::cerr << c.what << ": merge failed with exit code " << merge.exit_code << "\n";
      return 1;
    }
    std::printf("%-25s  %8.1f  %6.3f  %7.3f  %9.2f  %7.1f  %10.2f\n", c.what, input_mb, cat.seconds,
                merge.seconds, merge.seconds / cat.seconds, merge.peak_kib / 1024.0,
                merge.peak_kib * 1024.0 / 1e6 / input_mb);
  }
  std::filesystem::remove_all(root);
  return 0;
}
