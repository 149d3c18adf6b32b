// An Env that counts the file operations passing through it and fails a
// chosen one with a chosen error (ENOSPC, EIO, EACCES, ...). A run made once
// with nothing failing tells how many operations there are; the run can then
// be repeated with each of them failing in turn. ENOMEM fails a read or a
// write as a failed allocation at that point would: std::bad_alloc thrown.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/env.h"

namespace junctra {

class FaultInjectionEnv : public EnvWrapper {
 public:
  // Kinds of operation, as a bit mask. An open is any open or creation; a
  // write is any write of buffered data, the flush at close included; a sync
  // is a file's or a folder's; a rename is a plain one or an exchange; a
  // stat is a look at an entry or a link.
  enum Kind : unsigned {
    kOpen = 1u << 0,
    kRead = 1u << 1,
    kWrite = 1u << 2,
    kSync = 1u << 3,
    kRename = 1u << 4,
    kClose = 1u << 5,
    kSize = 1u << 6,
    kStat = 1u << 7,
    kLock = 1u << 8,
    kAll = (1u << 9) - 1,
  };

  explicit FaultInjectionEnv(Env* target = Env::Default()) : EnvWrapper(target) {}

  // From now on, counts only operations of the given kinds and fails the
  // nth of them (1-based) with error; n = 0 fails none.
  void FailNth(std::size_t n, int error, unsigned kinds = kAll) {
    fail_at_ = n;
    error_ = error;
    kinds_ = kinds;
    count_ = 0;
    trace_.clear();
    fired_ = false;
    fired_path_.clear();
  }

  // Operations of the chosen kinds seen since FailNth.
  std::size_t count() const { return count_; }
  // Those operations in order, as kind and path, when tracing.
  void Trace(bool on) { tracing_ = on; }
  const std::vector<std::pair<Kind, std::filesystem::path>>& trace() const { return trace_; }
  bool fired() const { return fired_; }
  Kind fired_kind() const { return fired_kind_; }
  // The file or folder of the failed operation (for a rename, its source).
  const std::filesystem::path& fired_path() const { return fired_path_; }

  static const char* KindName(Kind kind) {
    switch (kind) {
      case kOpen:
        return "open";
      case kRead:
        return "read";
      case kWrite:
        return "write";
      case kSync:
        return "sync";
      case kRename:
        return "rename";
      case kClose:
        return "close";
      case kSize:
        return "size";
      case kStat:
        return "stat";
      case kLock:
        return "lock";
      default:
        return "?";
    }
  }

  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    if (Hit(kOpen, path)) return error_;
    std::unique_ptr<File> real;
    if (int err = target()->OpenFile(path, mode, &real)) return err;
    *file = std::make_unique<FaultFile>(this, path, std::move(real));
    return 0;
  }
  int CreateNewFile(const std::filesystem::path& path, const FileStatus* like,
                    std::unique_ptr<File>* file) override {
    if (Hit(kOpen, path)) return error_;
    std::unique_ptr<File> real;
    if (int err = target()->CreateNewFile(path, like, &real)) return err;
    *file = std::make_unique<FaultFile>(this, path, std::move(real));
    return 0;
  }
  int StatEntry(const std::filesystem::path& path, FileStatus* status) override {
    if (Hit(kStat, path)) return error_;
    return target()->StatEntry(path, status);
  }
  int ReadSymbolicLink(const std::filesystem::path& path, std::filesystem::path* link) override {
    if (Hit(kStat, path)) return error_;
    return target()->ReadSymbolicLink(path, link);
  }
  int TryLockFolder(const std::filesystem::path& folder,
                    std::unique_ptr<FolderLock>* lock) override {
    if (Hit(kLock, folder)) return error_;
    return target()->TryLockFolder(folder, lock);
  }
  int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (Hit(kRename, from)) return error_;
    return target()->RenameFile(from, to);
  }
  int ExchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) override {
    if (Hit(kRename, a)) return error_;
    return target()->ExchangeFiles(a, b);
  }
  int SyncDirectory(const std::filesystem::path& folder) override {
    if (Hit(kSync, folder)) return error_;
    return target()->SyncDirectory(folder);
  }

 private:
  class FaultFile : public File {
   public:
    FaultFile(FaultInjectionEnv* env, std::filesystem::path path, std::unique_ptr<File> real)
        : env_(env), path_(std::move(path)), real_(std::move(real)) {}
    int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
      *got = 0;
      if (env_->Hit(kRead, path_)) return env_->Failure();
      return real_->ReadAt(offset, dst, n, got);
    }
    int WriteAt(std::uint64_t offset, const void* src, std::size_t n) override {
      if (env_->Hit(kWrite, path_)) return env_->Failure();
      return real_->WriteAt(offset, src, n);
    }
    int Sync() override { return env_->Hit(kSync, path_) ? env_->error_ : real_->Sync(); }
    int Size(std::uint64_t* size) override {
      return env_->Hit(kSize, path_) ? env_->error_ : real_->Size(size);
    }
    int State(FileState* state) override {
      return env_->Hit(kSize, path_) ? env_->error_ : real_->State(state);
    }
    int Close() override {
      // The descriptor goes away even when closing reports an error.
      const int err = real_->Close();
      return env_->Hit(kClose, path_) ? env_->error_ : err;
    }

   private:
    FaultInjectionEnv* env_;
    std::filesystem::path path_;
    std::unique_ptr<File> real_;
  };

  int Failure() const {
    if (error_ == ENOMEM) throw std::bad_alloc();
    return error_;
  }

  bool Hit(Kind kind, const std::filesystem::path& path) {
    if ((kinds_ & kind) == 0) return false;
    if (tracing_) trace_.emplace_back(kind, path);
    if (++count_ != fail_at_) return false;
    fired_ = true;
    fired_kind_ = kind;
    fired_path_ = path;
    return true;
  }

  std::size_t fail_at_ = 0;
  int error_ = 0;
  unsigned kinds_ = kAll;
  std::size_t count_ = 0;
  bool tracing_ = false;
  std::vector<std::pair<Kind, std::filesystem::path>> trace_;
  bool fired_ = false;
  Kind fired_kind_ = kOpen;
  std::filesystem::path fired_path_;
};

}  // namespace junctra
