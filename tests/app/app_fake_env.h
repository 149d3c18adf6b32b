// An Env for the start-up tests: the program's path, the system version,
// the folder queries and the environment variables are set by the test;
// library loads are recorded and can be served by fake libraries.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "resources/resource_table.h"

namespace junctra {

// The built program's file name and its German satellite's path below the
// program folder.
#ifdef _WIN32
inline constexpr char kProgramFileName[] = "junctra.exe";
inline constexpr char kGermanSatellite[] = "de/junctra-EXE-mui.dll";
#else
inline constexpr char kProgramFileName[] = "junctra";
inline constexpr char kGermanSatellite[] = "de/junctra-mui.so";
#endif

class AppFakeEnv : public EnvWrapper {
 public:
  AppFakeEnv() : EnvWrapper(Env::Default()) {}

  std::filesystem::path module_file;
  int os_major = 10;
  std::optional<std::filesystem::path> known_folder;
  std::optional<std::filesystem::path> local_folder;
  std::map<std::string, std::string> variables;

  // Paths that LoadLibrary was asked for, in order.
  std::vector<std::filesystem::path> load_requests;
  // Fake libraries by path; a null entry point is a library without it.
  std::map<std::filesystem::path, JunctraResourceTableFunction> fake_libraries;
  // Without a fake, load the real file.
  bool load_real_libraries = false;
  int libraries_alive = 0;
  // False: a program with nowhere to print, whose texts go to message boxes.
  bool can_print = true;
  std::vector<std::u16string> message_windows;

  std::filesystem::path ModuleFileName() override { return module_file; }
  int OsMajorVersion() override { return os_major; }
  std::optional<std::filesystem::path> KnownLocalAppDataFolder() override { return known_folder; }
  std::optional<std::filesystem::path> LocalAppDataFolder() override { return local_folder; }
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }

  bool CanPrintMessages() override { return can_print; }
  void ShowMessageWindow(std::u16string_view text) override { message_windows.emplace_back(text); }

  std::unique_ptr<Library> LoadLibrary(const std::filesystem::path& path) override {
    load_requests.push_back(path);
    auto it = fake_libraries.find(path);
    if (it != fake_libraries.end()) return std::make_unique<FakeLibrary>(this, it->second);
    if (!load_real_libraries) return nullptr;
    std::unique_ptr<Library> real = target()->LoadLibrary(path);
    if (real == nullptr) return nullptr;
    return std::make_unique<CountedLibrary>(this, std::move(real));
  }

 private:
  class FakeLibrary : public Library {
   public:
    FakeLibrary(AppFakeEnv* env, JunctraResourceTableFunction entry) : env_(env), entry_(entry) {
      ++env_->libraries_alive;
    }
    ~FakeLibrary() override { --env_->libraries_alive; }
    void* Symbol(const char* name) override {
      if (entry_ == nullptr || std::string(name) != JUNCTRA_RESOURCE_ENTRY_POINT) return nullptr;
      return reinterpret_cast<void*>(entry_);
    }

   private:
    AppFakeEnv* env_;
    JunctraResourceTableFunction entry_;
  };

  class CountedLibrary : public Library {
   public:
    CountedLibrary(AppFakeEnv* env, std::unique_ptr<Library> real)
        : env_(env), real_(std::move(real)) {
      ++env_->libraries_alive;
    }
    ~CountedLibrary() override { --env_->libraries_alive; }
    void* Symbol(const char* name) override { return real_->Symbol(name); }
    void* ResourceHandle() override { return real_->ResourceHandle(); }

   private:
    AppFakeEnv* env_;
    std::unique_ptr<Library> real_;
  };
};

// Writes bytes to a file, creating its folder.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The build tree's program folder: from the test runner's environment, else
// as the build configured it. Absolute also on Windows, where the build's
// "/work/..." lacks a drive and libraries load only from absolute paths.
inline std::filesystem::path BuiltProgramFolder() {
  const char* folder = std::getenv("JUNCTRA_PROGRAM_DIR");
  return std::filesystem::absolute(folder != nullptr && *folder ? folder
                                                                : JUNCTRA_TEST_PROGRAM_DIR);
}

}  // namespace junctra
