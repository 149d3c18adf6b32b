// The single seam between Junctra and the operating system. Everything the
// program asks of the system (files, folders, the program's own path, the
// user's folders and locale, dynamic libraries) goes through an Env, so tests
// can put a fake in its place. Env::Default() is the real one.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace junctra {

// What an open file is at one moment, to tell whether another program
// changed it in the meantime.
struct FileState {
  std::uint64_t size = 0;
  // When the file's entry and its data last changed, in the system's own
  // units; 0 where the file cannot tell.
  std::int64_t change_time = 0;
  std::int64_t write_time = 0;
  bool operator==(const FileState&) const = default;
};

// An open file. Positions are explicit so that seeking costs nothing; the
// buffered stream on top (CStdioFile) keeps the position. Every call returns
// 0 or an errno value; nothing here throws.
class File {
 public:
  virtual ~File() = default;
  // Reads up to n bytes at offset into dst; *got receives the count (0 at end).
  virtual int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) = 0;
  // Writes all n bytes at offset.
  virtual int WriteAt(std::uint64_t offset, const void* src, std::size_t n) = 0;
  // Pushes written data to the device (fsync).
  virtual int Sync() = 0;
  virtual int Size(std::uint64_t* size) = 0;
  // The file as it is now, looked at through this handle, whatever name it
  // has meanwhile. A file that keeps no times gives its length alone.
  virtual int State(FileState* state) {
    *state = FileState();
    return Size(&state->size);
  }
  virtual int Close() = 0;
};

// How Env::OpenFile opens a file.
struct OpenMode {
  bool read = true;
  bool write = false;
  bool create = false;     // create when missing
  bool truncate = false;   // empty an existing file
  bool exclusive = false;  // with create: fail when the entry exists
  // Sharing: approximated with advisory flock() locks. deny_write takes a
  // shared lock, exclusive_share an exclusive one; a conflicting lock makes
  // the open fail with EWOULDBLOCK.
  bool deny_write = false;
  bool exclusive_share = false;
};

// An entry of a folder as StatEntry sees it: the entry itself, a symbolic
// link not followed.
struct FileStatus {
  enum class Kind { kFile, kDirectory, kSymbolicLink, kOther };
  Kind kind = Kind::kFile;
  unsigned mode = 0;  // permission bits, 07777
  std::uint32_t owner = 0;
  std::uint32_t group = 0;
  // Together the entry's identity: equal for two names of one file or folder.
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  // 0 when this process may write to it, else why not (EACCES, EROFS, ...).
  int write_access = 0;
  // Windows, files only: the owner and access control list as a
  // self-relative security descriptor (empty where the file system has
  // none), and the hidden and system attributes. Empty and 0 on POSIX.
  std::vector<unsigned char> security;
  std::uint32_t attributes = 0;
};

// An advisory lock held on a folder; released when destroyed, or when the
// process ends in any way.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

// A loaded dynamic library; unloads itself when destroyed.
class Library {
 public:
  virtual ~Library() = default;
  virtual void* Symbol(const char* name) = 0;
  // The system's handle to the library's resources (an HMODULE on
  // Windows); null where a library has none and its resources come as a
  // table through Symbol.
  virtual void* ResourceHandle() { return nullptr; }
};

class Env {
 public:
  virtual ~Env() = default;

  // The process-wide real environment; never destroyed.
  static Env* Default();

  // Files. OpenFile sets *file on success and returns 0, or an errno value.
  virtual int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
                       std::unique_ptr<File>* file) = 0;
  // An entry of any kind exists at path.
  virtual bool EntryExists(const std::filesystem::path& path) = 0;
  // An entry exists at path and is not a directory.
  virtual bool FileExists(const std::filesystem::path& path) = 0;
  virtual bool DirectoryExists(const std::filesystem::path& path) = 0;
  virtual int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Swaps two existing files in one step, so that a replaced file can be
  // put back. EISDIR when either is a folder; EINVAL or ENOSYS where the
  // file system cannot do it.
  virtual int ExchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
  // Gives the file at existing a second name, link, which must not exist
  // yet (a hard link). EXDEV, EPERM or ENOSYS where the file system cannot.
  virtual int LinkFile(const std::filesystem::path& existing,
                       const std::filesystem::path& link) = 0;
  virtual int RemoveFile(const std::filesystem::path& path) = 0;
  // Makes a rename or creation inside the folder durable (fsync of the folder).
  virtual int SyncDirectory(const std::filesystem::path& folder) = 0;
  // The entry at path; a symbolic link is not followed. ENOENT when missing.
  virtual int StatEntry(const std::filesystem::path& path, FileStatus* status) = 0;
  // What the symbolic link at path points to, as written in the link.
  // EINVAL when path is not a link, ENOENT when nothing is there.
  virtual int ReadSymbolicLink(const std::filesystem::path& path,
                               std::filesystem::path* target) = 0;
  // Creates a file that must not exist yet and opens it for writing. With
  // like, it is private (0600) from the start, then takes like's owner and
  // group as far as the process may set them (EPERM is no failure) and
  // like's permission bits, all before a byte is written; without, the
  // system's default (0666 less the umask). On Windows like's access
  // control list, inherited from the folder or protected from it as like's
  // is, and its hidden and system attributes take the place of the mode;
  // its owner as far as the process may set it. On failure nothing is left.
  virtual int CreateNewFile(const std::filesystem::path& path, const FileStatus* like,
                            std::unique_ptr<File>* file) = 0;
  // Takes an exclusive advisory lock on the folder itself, once, without
  // waiting: EWOULDBLOCK while another holds it. Writes nothing into the
  // folder.
  virtual int TryLockFolder(const std::filesystem::path& folder,
                            std::unique_ptr<FolderLock>* lock) = 0;
  // Names of the folder's entries, without "." and "..".
  virtual int ListFolder(const std::filesystem::path& folder, std::vector<std::string>* names) = 0;
  virtual int ProcessId() = 0;
  // The user the process acts as (geteuid), whom a symbolic link in a
  // shared folder must belong to before it is followed. Windows has no such
  // rule: 0, and its folders never look sticky.
  virtual std::uint32_t EffectiveUserId() = 0;
  // Random bits from the system, for names no other process picks.
  virtual std::uint64_t RandomNumber() = 0;
  // A clock that only moves forward, and a pause of the calling thread: for
  // waits, which tests can then let pass at once.
  virtual std::chrono::steady_clock::time_point Now();
  virtual void SleepFor(std::chrono::steady_clock::duration pause);

  // The program's own file; empty when it cannot be had.
  virtual std::filesystem::path ModuleFileName() = 0;
  // Major version of the operating system; above 4 here, since this
  // platform always has per-user folders.
  virtual int OsMajorVersion() = 0;
  // The user's local application data folder, first and second query.
  // Empty optional on failure. Neither result ends in a separator.
  virtual std::optional<std::filesystem::path> KnownLocalAppDataFolder() = 0;
  virtual std::optional<std::filesystem::path> LocalAppDataFolder() = 0;
  // An environment variable; empty optional when unset.
  virtual std::optional<std::string> GetEnvironmentVariable(const std::string& name) = 0;

  // Loads the (satellite) library at an absolute path; null when it cannot
  // be loaded. Windows maps it as data: none of its code ever runs, Symbol
  // finds nothing, ResourceHandle gives its resources.
  virtual std::unique_ptr<Library> LoadLibrary(const std::filesystem::path& path) = 0;

  // Runs every task and returns once all have ended; then throws what the
  // first task that threw threw. The real ones run each task on a thread of
  // its own, the first on the calling one, so tasks must share nothing they
  // change; this one runs them in turn, as fakes need.
  virtual void RunTasks(const std::vector<std::function<void()>>& tasks);

  // Whether what the program prints reaches anyone. False only for a
  // Windows GUI program (junctra.exe) whose standard error is neither a
  // console, a file nor a pipe, as when started from a shortcut, Explorer
  // or the task scheduler; a console program always prints.
  virtual bool CanPrintMessages() { return true; }
  // Shows text in one modal message box captioned with the program's name,
  // for what cannot be printed; nothing where there are no message boxes.
  virtual void ShowMessageWindow(std::u16string_view) {}
};

// Process-wide settings made once at start, before anything else runs: on
// Windows, standard output and error write "\n" as it is, as on POSIX; on
// POSIX, the locale for messages comes from the environment (LC_ALL,
// LC_MESSAGES, LANG), so that the system's reasons are in the user's
// language.
void PrepareProcess();
// Memory for a large block of bytes that is filled once and then read,
// freed with std::free; null when there is none. Where the system offers
// it, a block of megabytes is backed by large pages and mapped at once: the
// first touch of fresh memory 4 KiB at a time costs more than copying a
// file into it.
void* AllocateLargeBlock(std::size_t bytes);
// The program's arguments, argv[0] first, as UTF-8 (on POSIX as they came).
// Windows hands main() its arguments in the ANSI code page; for main()'s own
// argv they come from the wide command line, which holds every character.
std::vector<std::string> ProgramArguments(int argc, char** argv);
// The folder in the form that a separator can be added to without changing
// what it names: on Windows a path relative to a drive's current folder
// ("D:", "D:data") becomes its full path, as GetFullPathNameW gives it.
// Every other path, and every path on POSIX, comes back as it is.
std::filesystem::path ResolveDriveRelative(const std::filesystem::path& folder);
// Writes text to standard error: as UTF-16 when that is a Windows console,
// which then shows every character whatever its code page; otherwise as
// UTF-8 bytes, "\n" unchanged, so that files and pipes get the same bytes on
// every system.
void WriteStandardError(std::u16string_view text);
// The same for standard output.
void WriteStandardOutput(std::u16string_view text);

// Forwards every call to another Env; tests derive from it and override
// only what they fake.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    return target_->OpenFile(path, mode, file);
  }
  bool EntryExists(const std::filesystem::path& path) override {
    return target_->EntryExists(path);
  }
  bool FileExists(const std::filesystem::path& path) override { return target_->FileExists(path); }
  bool DirectoryExists(const std::filesystem::path& path) override {
    return target_->DirectoryExists(path);
  }
  int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return target_->RenameFile(from, to);
  }
  int ExchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return target_->ExchangeFiles(a, b);
  }
  int LinkFile(const std::filesystem::path& existing, const std::filesystem::path& link) override {
    return target_->LinkFile(existing, link);
  }
  int RemoveFile(const std::filesystem::path& path) override { return target_->RemoveFile(path); }
  int SyncDirectory(const std::filesystem::path& folder) override {
    return target_->SyncDirectory(folder);
  }
  int StatEntry(const std::filesystem::path& path, FileStatus* status) override {
    return target_->StatEntry(path, status);
  }
  int ReadSymbolicLink(const std::filesystem::path& path, std::filesystem::path* target) override {
    return target_->ReadSymbolicLink(path, target);
  }
  int CreateNewFile(const std::filesystem::path& path, const FileStatus* like,
                    std::unique_ptr<File>* file) override {
    return target_->CreateNewFile(path, like, file);
  }
  int TryLockFolder(const std::filesystem::path& folder,
                    std::unique_ptr<FolderLock>* lock) override {
    return target_->TryLockFolder(folder, lock);
  }
  int ListFolder(const std::filesystem::path& folder, std::vector<std::string>* names) override {
    return target_->ListFolder(folder, names);
  }
  int ProcessId() override { return target_->ProcessId(); }
  std::uint32_t EffectiveUserId() override { return target_->EffectiveUserId(); }
  std::uint64_t RandomNumber() override { return target_->RandomNumber(); }
  std::chrono::steady_clock::time_point Now() override { return target_->Now(); }
  void SleepFor(std::chrono::steady_clock::duration pause) override { target_->SleepFor(pause); }
  std::filesystem::path ModuleFileName() override { return target_->ModuleFileName(); }
  int OsMajorVersion() override { return target_->OsMajorVersion(); }
  std::optional<std::filesystem::path> KnownLocalAppDataFolder() override {
    return target_->KnownLocalAppDataFolder();
  }
  std::optional<std::filesystem::path> LocalAppDataFolder() override {
    return target_->LocalAppDataFolder();
  }
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override {
    return target_->GetEnvironmentVariable(name);
  }
  std::unique_ptr<Library> LoadLibrary(const std::filesystem::path& path) override {
    return target_->LoadLibrary(path);
  }
  bool CanPrintMessages() override { return target_->CanPrintMessages(); }
  void ShowMessageWindow(std::u16string_view text) override { target_->ShowMessageWindow(text); }

 private:
  Env* target_;
};

}  // namespace junctra
