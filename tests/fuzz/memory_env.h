// An Env whose files and folders live in memory: fuzz targets read and
// write whole databases without touching the disk. Paths are taken as
// strings; a file's folder must have been added with AddFolder.
#pragma once

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/env.h"

namespace junctra {

class MemoryEnv : public Env {
 public:
  void AddFolder(const std::string& path) { folders_.insert(Strip(path)); }
  void SetFile(const std::string& path, std::string bytes) {
    files_[path] = std::make_shared<std::string>(std::move(bytes));
  }
  bool HasFile(const std::string& path) const { return files_.count(path) != 0; }
  const std::string& Bytes(const std::string& path) const { return *files_.at(path); }
  // The files directly in a folder, by name.
  std::map<std::string, std::string> FilesIn(const std::string& folder) const {
    std::map<std::string, std::string> found;
    const std::string prefix = Strip(folder) + "/";
    for (const auto& [path, bytes] : files_) {
      if (path.starts_with(prefix) && path.find('/', prefix.size()) == std::string::npos) {
        found[path.substr(prefix.size())] = *bytes;
      }
    }
    return found;
  }

  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    const std::string& name = path.native();
    if (folders_.count(Strip(name)) != 0) return EISDIR;
    auto found = files_.find(name);
    if (found == files_.end()) {
      if (!mode.create) return ENOENT;
      if (folders_.count(Parent(name)) == 0) return ENOENT;
      found = files_.emplace(name, std::make_shared<std::string>()).first;
    } else if (mode.create && mode.exclusive) {
      return EEXIST;
    }
    if (mode.truncate && mode.write) found->second->clear();
    *file = std::make_unique<MemoryFile>(found->second);
    return 0;
  }
  bool EntryExists(const std::filesystem::path& path) override {
    return files_.count(path.native()) != 0 || folders_.count(Strip(path.native())) != 0;
  }
  bool FileExists(const std::filesystem::path& path) override {
    return files_.count(path.native()) != 0;
  }
  bool DirectoryExists(const std::filesystem::path& path) override {
    return folders_.count(Strip(path.native())) != 0;
  }
  int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
    auto found = files_.find(from.native());
    if (found == files_.end()) return ENOENT;
    if (folders_.count(Strip(to.native())) != 0) return EISDIR;
    auto bytes = found->second;
    files_.erase(found);
    files_[to.native()] = std::move(bytes);
    return 0;
  }
  int ExchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) override {
    auto first = files_.find(a.native()), second = files_.find(b.native());
    if (first == files_.end() || second == files_.end()) return ENOENT;
    std::swap(first->second, second->second);
    return 0;
  }
  int LinkFile(const std::filesystem::path&, const std::filesystem::path&) override {
    return ENOSYS;
  }
  int RemoveFile(const std::filesystem::path& path) override {
    return files_.erase(path.native()) != 0 ? 0 : ENOENT;
  }
  int SyncDirectory(const std::filesystem::path&) override { return 0; }
  int StatEntry(const std::filesystem::path& path, FileStatus* status) override {
    const std::string& name = path.native();
    const bool folder = folders_.count(Strip(name)) != 0;
    if (!folder && files_.count(name) == 0) return ENOENT;
    *status = FileStatus();
    status->kind = folder ? FileStatus::Kind::kDirectory : FileStatus::Kind::kFile;
    status->mode = folder ? 0755 : 0644;
    status->inode = std::hash<std::string>()(folder ? Strip(name) : name);
    return 0;
  }
  int ReadSymbolicLink(const std::filesystem::path& path, std::filesystem::path*) override {
    return EntryExists(path) ? EINVAL : ENOENT;
  }
  int CreateNewFile(const std::filesystem::path& path, const FileStatus*,
                    std::unique_ptr<File>* file) override {
    OpenMode mode;
    mode.write = true;
    mode.create = true;
    mode.exclusive = true;
    return OpenFile(path, mode, file);
  }
  int TryLockFolder(const std::filesystem::path& folder,
                    std::unique_ptr<FolderLock>* lock) override {
    if (!DirectoryExists(folder)) return ENOENT;
    *lock = std::make_unique<FolderLock>();
    return 0;
  }
  int ListFolder(const std::filesystem::path& folder, std::vector<std::string>* names) override {
    if (!DirectoryExists(folder)) return ENOENT;
    names->clear();
    for (const auto& [name, bytes] : FilesIn(folder.native())) names->push_back(name);
    return 0;
  }
  int ProcessId() override { return 1; }
  std::uint32_t EffectiveUserId() override { return 0; }
  std::uint64_t RandomNumber() override { return ++random_; }

  std::filesystem::path ModuleFileName() override { return {}; }
  int OsMajorVersion() override { return 10; }
  std::optional<std::filesystem::path> KnownLocalAppDataFolder() override { return {}; }
  std::optional<std::filesystem::path> LocalAppDataFolder() override { return {}; }
  std::optional<std::string> GetEnvironmentVariable(const std::string&) override { return {}; }
  std::unique_ptr<Library> LoadLibrary(const std::filesystem::path&) override { return nullptr; }

 private:
  class MemoryFile : public File {
   public:
    explicit MemoryFile(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}
    int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
      *got = 0;
      if (offset < bytes_->size()) {
        *got = std::min<std::size_t>(n, bytes_->size() - offset);
        std::memcpy(dst, bytes_->data() + offset, *got);
      }
      return 0;
    }
    int WriteAt(std::uint64_t offset, const void* src, std::size_t n) override {
      if (bytes_->size() < offset + n) bytes_->resize(offset + n);
      std::memcpy(bytes_->data() + offset, src, n);
      return 0;
    }
    int Sync() override { return 0; }
    int Size(std::uint64_t* size) override {
      *size = bytes_->size();
      return 0;
    }
    int Close() override { return 0; }

   private:
    std::shared_ptr<std::string> bytes_;
  };

  static std::string Strip(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  static std::string Parent(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
  }

  std::map<std::string, std::shared_ptr<std::string>> files_;
  std::set<std::string> folders_;
  std::uint64_t random_ = 0;
};

}  // namespace junctra
