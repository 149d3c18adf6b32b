// A fresh folder under the system's temp folder, removed with its contents.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace junctra {

class TempDir {
 public:
  TempDir() {
#ifdef _WIN32
    // No mkdtemp: a random name, created only when it is new.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "junctra-test-%08x", static_cast<unsigned>(random()));
      auto candidate = std::filesystem::temp_directory_path() / name;
      if (std::filesystem::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::filesystem::filesystem_error("create_directory", {});
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "junctra-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::filesystem::filesystem_error("mkdtemp", {});
    path_ = pattern;
#endif
  }
  ~TempDir() {
    std::error_code ec;
    // Restore write access first, in case a test took it away.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace junctra
