// The real Env on Linux.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <libintl.h>
#include <locale.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/env.h"
#include "platform/task_errors.h"
#include "platform/text.h"

namespace junctra {
namespace {

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
    *got = 0;
    auto* out = static_cast<char*>(dst);
    while (*got < n) {
      ssize_t r = ::pread(fd_, out + *got, n - *got, static_cast<off_t>(offset + *got));
      if (r < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (r == 0) break;
      *got += static_cast<std::size_t>(r);
    }
    return 0;
  }

  int WriteAt(std::uint64_t offset, const void* src, std::size_t n) override {
    const auto* in = static_cast<const char*>(src);
    std::size_t done = 0;
    while (done < n) {
      ssize_t r = ::pwrite(fd_, in + done, n - done, static_cast<off_t>(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (r == 0) return ENOSPC;
      done += static_cast<std::size_t>(r);
    }
    return 0;
  }

  int Sync() override { return ::fsync(fd_) == 0 ? 0 : errno; }

  int Size(std::uint64_t* size) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return errno;
    *size = static_cast<std::uint64_t>(st.st_size);
    return 0;
  }

  int State(FileState* state) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return errno;
    state->size = static_cast<std::uint64_t>(st.st_size);
    state->change_time = Nanoseconds(st.st_ctim);
    state->write_time = Nanoseconds(st.st_mtim);
    return 0;
  }

  int Close() override {
    int fd = fd_;
    fd_ = -1;
    // Closing also drops any flock() held through this descriptor.
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

class PosixLibrary : public Library {
 public:
  explicit PosixLibrary(void* handle) : handle_(handle) {}
  ~PosixLibrary() override { ::dlclose(handle_); }
  void* Symbol(const char* name) override { return ::dlsym(handle_, name); }

 private:
  void* handle_;
};

class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override { ::close(fd_); }

 private:
  int fd_;
};

bool StatPath(const std::filesystem::path& path, struct stat* st) {
  return !path.empty() && ::stat(path.c_str(), st) == 0;
}

class PosixEnv : public Env {
 public:
  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    int flags = O_CLOEXEC;
    if (mode.write) {
      flags |= mode.read ? O_RDWR : O_WRONLY;
    } else {
      flags |= O_RDONLY;
    }
    if (mode.create) flags |= O_CREAT;
    if (mode.create && mode.exclusive) flags |= O_EXCL;
    // Only regular files are text files; a folder, pipe, socket or device is
    // refused. Looking first spares a device the open; O_NONBLOCK keeps a
    // pipe put in place meanwhile from blocking the open, and fstat then
    // refuses it.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
      return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    int fd;
    do {
      fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
      ::close(fd);
      return err;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (mode.deny_write || mode.exclusive_share) {
      if (::flock(fd, (mode.exclusive_share ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        return err;
      }
    }
    // Truncate only after the lock is held, so a locked file is never emptied.
    if (mode.truncate && mode.write && ::ftruncate(fd, 0) != 0) {
      int err = errno;
      ::close(fd);
      return err;
    }
    *file = std::make_unique<PosixFile>(fd);
    return 0;
  }

  bool EntryExists(const std::filesystem::path& path) override {
    struct stat st;
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
  }

  bool FileExists(const std::filesystem::path& path) override {
    struct stat st;
    return StatPath(path, &st) && !S_ISDIR(st.st_mode);
  }

  bool DirectoryExists(const std::filesystem::path& path) override {
    struct stat st;
    return StatPath(path, &st) && S_ISDIR(st.st_mode);
  }

  int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  }

  int ExchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) override {
    // The system call would swap a folder as readily as a file.
    for (const auto* path : {&a, &b}) {
      struct stat st;
      if (::lstat(path->c_str(), &st) != 0) return errno;
      if (S_ISDIR(st.st_mode)) return EISDIR;
    }
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0 ? 0 : errno;
  }

  int LinkFile(const std::filesystem::path& existing, const std::filesystem::path& link) override {
    return ::link(existing.c_str(), link.c_str()) == 0 ? 0 : errno;
  }

  int RemoveFile(const std::filesystem::path& path) override {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
  }

  int SyncDirectory(const std::filesystem::path& folder) override {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return err;
  }

  int StatEntry(const std::filesystem::path& path, FileStatus* status) override {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno;
    if (S_ISREG(st.st_mode)) {
      status->kind = FileStatus::Kind::kFile;
    } else if (S_ISDIR(st.st_mode)) {
      status->kind = FileStatus::Kind::kDirectory;
    } else if (S_ISLNK(st.st_mode)) {
      status->kind = FileStatus::Kind::kSymbolicLink;
    } else {
      status->kind = FileStatus::Kind::kOther;
    }
    status->mode = st.st_mode & 07777;
    status->owner = st.st_uid;
    status->group = st.st_gid;
    status->device = st.st_dev;
    status->inode = st.st_ino;
    // With the effective IDs, as open() will check them.
    status->write_access = 0;
    if (!S_ISLNK(st.st_mode) && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
      status->write_access = errno;
    }
    return 0;
  }

  int ReadSymbolicLink(const std::filesystem::path& path, std::filesystem::path* target) override {
    std::string buffer(256, '\0');
    for (;;) {
      const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
      if (n < 0) return errno;
      if (static_cast<std::size_t>(n) < buffer.size()) {
        buffer.resize(static_cast<std::size_t>(n));
        *target = buffer;
        return 0;
      }
      buffer.resize(buffer.size() * 2);  // possibly cut short
    }
  }

  int CreateNewFile(const std::filesystem::path& path, const FileStatus* like,
                    std::unique_ptr<File>* file) override {
    int fd;
    do {
      fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, like ? 0600 : 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    int err = 0;
    if (like != nullptr) {
      // Owner first: a change of owner may clear bits that fchmod then sets.
      if (::fchown(fd, like->owner, like->group) != 0) {
        err = errno;
        // Not allowed to give the file away; the group alone may still go.
        if (err == EPERM &&
            (::fchown(fd, static_cast<uid_t>(-1), like->group) == 0 || errno == EPERM)) {
          err = 0;
        }
      }
      if (err == 0 && ::fchmod(fd, like->mode & 07777) != 0) err = errno;
    }
    if (err != 0) {
      ::close(fd);
      ::unlink(path.c_str());
      return err;
    }
    *file = std::make_unique<PosixFile>(fd);
    return 0;
  }

  int TryLockFolder(const std::filesystem::path& folder,
                    std::unique_ptr<FolderLock>* lock) override {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    auto held = std::make_unique<PosixFolderLock>(fd);
    int err;
    do {
      err = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    } while (err == EINTR);
    if (err == 0) *lock = std::move(held);
    return err;
  }

  int ListFolder(const std::filesystem::path& folder, std::vector<std::string>* names) override {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                            &::closedir);
    if (dir == nullptr) return errno;
    names->clear();
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir.get());
      if (entry == nullptr) return errno;
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names->emplace_back(name);
    }
  }

  int ProcessId() override { return static_cast<int>(::getpid()); }
  std::uint32_t EffectiveUserId() override { return ::geteuid(); }

  std::uint64_t RandomNumber() override {
    std::uint64_t value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) == sizeof value) return value;
    // Early in boot the pool may not be ready; the clock differs per call.
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_nsec) * 0x9E3779B97F4A7C15u ^
           static_cast<std::uint64_t>(now.tv_sec);
  }

  std::filesystem::path ModuleFileName() override {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
  }

  int OsMajorVersion() override { return 10; }

  std::optional<std::filesystem::path> KnownLocalAppDataFolder() override {
    auto value = GetEnvironmentVariable("XDG_CONFIG_HOME");
    if (!value || value->empty() || (*value)[0] != '/') return std::nullopt;
    return WithoutTrailingSeparator(*value);
  }

  std::optional<std::filesystem::path> LocalAppDataFolder() override {
    auto home = GetEnvironmentVariable("HOME");
    std::string folder;
    if (home && !home->empty()) {
      folder = *home;
    } else if (const struct passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
      folder = pw->pw_dir;
    } else {
      return std::nullopt;
    }
    return WithoutTrailingSeparator(folder) + "/.config";
  }

  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  }

  void RunTasks(const std::vector<std::function<void()>>& tasks) override {
    TaskErrors errors(tasks.size());
    std::vector<std::thread> threads;
    threads.reserve(tasks.size());
    for (std::size_t i = 1; i < tasks.size(); ++i) {
      try {
        threads.emplace_back([&errors, &tasks, i] { errors.Run(i, tasks[i]); });
      } catch (const std::system_error&) {
        errors.Run(i, tasks[i]);  // no thread to be had: here, then
      }
    }
    if (!tasks.empty()) errors.Run(0, tasks[0]);
    for (std::thread& thread : threads) thread.join();
    errors.RethrowFirst();
  }

  std::unique_ptr<Library> LoadLibrary(const std::filesystem::path& path) override {
    if (!path.is_absolute()) return nullptr;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    return std::make_unique<PosixLibrary>(handle);
  }

 private:
  static std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
};

}  // namespace

// The standard streams already write "\n" as it is. The system's reasons
// (strerror) come in the user's language where the C library has its
// translations, in UTF-8 whatever the character set. Only the messages'
// locale is set: comparisons and conversions keep the "C" locale.
void PrepareProcess() {
  setlocale(LC_MESSAGES, "");
  bind_textdomain_codeset("libc", "UTF-8");
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::filesystem::path ResolveDriveRelative(const std::filesystem::path& folder) { return folder; }

namespace {

void WriteUtf8(std::FILE* stream, std::u16string_view text) {
  const std::string bytes = Utf16ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

}  // namespace

void WriteStandardOutput(std::u16string_view text) { WriteUtf8(stdout, text); }

void WriteStandardError(std::u16string_view text) { WriteUtf8(stderr, text); }

void* AllocateLargeBlock(std::size_t bytes) {
  constexpr std::size_t kLargePage = 2 << 20;
  if (bytes < kLargePage) return std::malloc(std::max<std::size_t>(bytes, 1));
  const std::size_t size = (bytes + kLargePage - 1) / kLargePage * kLargePage;
  void* block = std::aligned_alloc(kLargePage, size);
  if (block == nullptr) return nullptr;
#ifdef MADV_HUGEPAGE
  // Large pages make reading into the block faster (bench/README.md).
  ::madvise(block, size, MADV_HUGEPAGE);
#endif
  // Touched here rather than first by a read into the block: the kernel's
  // own first touch of large pages took several times as long.
  for (std::size_t at = 0; at < size; at += 4096) static_cast<volatile char*>(block)[at] = 0;
  return block;
}

Env* Env::Default() {
  static PosixEnv env;
  return &env;
}

}  // namespace junctra
