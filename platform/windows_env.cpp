// The real Env on Windows.

// Before <windows.h>: its macros would rename Env::LoadLibrary and
// Env::GetEnvironmentVariable in these declarations.
#include "platform/env.h"
#include "platform/task_errors.h"
#include "platform/text.h"
#include "platform/windows_error.h"

#include <windows.h>
// These need <windows.h> first.
#include <aclapi.h>
#include <bcrypt.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winioctl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#undef GetEnvironmentVariable
#undef LoadLibrary

namespace junctra {
namespace {

// The most one ReadFile or WriteFile call moves.
constexpr std::size_t kMaxChunk = 1u << 30;

int LastError() { return ErrnoFromWin32(::GetLastError()); }

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::string Utf8(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

// The full path of text, as the system resolves it against the current
// folder (of its drive); none when it cannot.
std::optional<std::wstring> FullPathName(const std::wstring& text) {
  DWORD n = ::GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::nullopt;
  std::wstring full(n, L'\0');
  n = ::GetFullPathNameW(text.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return std::nullopt;
  full.resize(n);
  return full;
}

// The path as the system calls take it. Beyond MAX_PATH only the "\\?\" form
// of the full path reaches the file, so a long path gets it rather than
// being cut or refused.
std::wstring SystemPath(const std::filesystem::path& path) {
  const std::wstring& text = path.native();
  if (text.size() < MAX_PATH - 12 || text.starts_with(L"\\\\?\\")) return text;
  const std::optional<std::wstring> resolved = FullPathName(text);
  if (!resolved) return text;
  const std::wstring& full = *resolved;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring FolderPath(const std::filesystem::path& folder) {
  return folder.empty() ? std::wstring(L".") : SystemPath(folder);
}

DWORD Attributes(const std::filesystem::path& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(SystemPath(path).c_str());
}

// Closes the handle when it goes.
class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
  Handle& operator=(Handle&& other) noexcept {
    Reset(std::exchange(other.h_, INVALID_HANDLE_VALUE));
    return *this;
  }
  ~Handle() { Reset(); }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  int Close() {
    if (!valid()) return 0;
    const BOOL ok = ::CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE));
    return ok ? 0 : LastError();
  }
  void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
    if (valid()) ::CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_;
};

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset);
  ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return ov;
}

int ReadHandleAt(HANDLE h, std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) {
  *got = 0;
  auto* out = static_cast<char*>(dst);
  while (*got < n) {
    OVERLAPPED ov = At(offset + *got);
    DWORD r = 0;
    const auto chunk = static_cast<DWORD>(std::min(n - *got, kMaxChunk));
    if (!::ReadFile(h, out + *got, chunk, &r, &ov)) {
      const DWORD e = ::GetLastError();
      if (e == ERROR_HANDLE_EOF) break;
      return ErrnoFromWin32(e);
    }
    if (r == 0) break;
    *got += r;
  }
  return 0;
}

int WriteHandleAt(HANDLE h, std::uint64_t offset, const void* src, std::size_t n) {
  const auto* in = static_cast<const char*>(src);
  std::size_t done = 0;
  while (done < n) {
    OVERLAPPED ov = At(offset + done);
    DWORD r = 0;
    const auto chunk = static_cast<DWORD>(std::min(n - done, kMaxChunk));
    if (!::WriteFile(h, in + done, chunk, &r, &ov)) return LastError();
    if (r == 0) return ENOSPC;
    done += r;
  }
  return 0;
}

// Length and times of the file open as h. A file system that keeps no
// change time (FAT) gives 0 for it.
int HandleState(HANDLE h, FileState* state) {
  LARGE_INTEGER size;
  FILE_BASIC_INFO basic;
  if (!::GetFileSizeEx(h, &size) ||
      !::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)) {
    return LastError();
  }
  state->size = static_cast<std::uint64_t>(size.QuadPart);
  state->change_time = basic.ChangeTime.QuadPart;
  state->write_time = basic.LastWriteTime.QuadPart;
  return 0;
}

class WindowsFile : public File {
 public:
  explicit WindowsFile(Handle h) : h_(std::move(h)) {}

  int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
    return ReadHandleAt(h_.get(), offset, dst, n, got);
  }
  int WriteAt(std::uint64_t offset, const void* src, std::size_t n) override {
    return WriteHandleAt(h_.get(), offset, src, n);
  }
  int Sync() override { return ::FlushFileBuffers(h_.get()) ? 0 : LastError(); }
  int Size(std::uint64_t* size) override {
    LARGE_INTEGER value;
    if (!::GetFileSizeEx(h_.get(), &value)) return LastError();
    *size = static_cast<std::uint64_t>(value.QuadPart);
    return 0;
  }
  int State(FileState* state) override { return HandleState(h_.get(), state); }
  int Close() override { return h_.Close(); }

 private:
  Handle h_;
};

// A file just created, opened only when used: holding it open would make
// the saver's exclusive open of the same file a sharing violation.
class DeferredFile : public File {
 public:
  explicit DeferredFile(std::wstring path) : path_(std::move(path)) {}

  int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
    *got = 0;
    if (int err = Ensure()) return err;
    return ReadHandleAt(h_.get(), offset, dst, n, got);
  }
  int WriteAt(std::uint64_t offset, const void* src, std::size_t n) override {
    if (int err = Ensure()) return err;
    return WriteHandleAt(h_.get(), offset, src, n);
  }
  // Flushes the file's data whichever handle wrote it.
  int Sync() override {
    if (int err = Ensure()) return err;
    return ::FlushFileBuffers(h_.get()) ? 0 : LastError();
  }
  int Size(std::uint64_t* size) override {
    if (int err = Ensure()) return err;
    LARGE_INTEGER value;
    if (!::GetFileSizeEx(h_.get(), &value)) return LastError();
    *size = static_cast<std::uint64_t>(value.QuadPart);
    return 0;
  }
  int State(FileState* state) override {
    if (int err = Ensure()) return err;
    return HandleState(h_.get(), state);
  }
  int Close() override { return h_.Close(); }

 private:
  int Ensure() {
    if (h_.valid()) return 0;
    h_.Reset(::CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return h_.valid() ? 0 : LastError();
  }

  std::wstring path_;
  Handle h_;
};

// A library mapped as data: its resources only.
class WindowsLibrary : public Library {
 public:
  explicit WindowsLibrary(HMODULE module) : module_(module) {}
  ~WindowsLibrary() override { ::FreeLibrary(module_); }
  void* Symbol(const char*) override { return nullptr; }
  void* ResourceHandle() override { return module_; }

 private:
  HMODULE module_;
};

class WindowsFolderLock : public FolderLock {
 public:
  explicit WindowsFolderLock(Handle h) : h_(std::move(h)) {}

 private:
  Handle h_;
};

// A function of a system DLL looked up at run time, so that the program
// still starts where it is missing.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  HMODULE handle = ::GetModuleHandleW(module);
  if (handle == nullptr) return nullptr;
  // Through void(*)() so that the compiler accepts the change of type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(handle, name)));
}

std::filesystem::path WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// The attributes a replaced file keeps.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The owner and access control list of an open file, self-relative. A file
// system without them gives an empty descriptor.
int ReadSecurity(HANDLE h, std::vector<unsigned char>* security) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD e =
      ::GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                        nullptr, nullptr, nullptr, nullptr, &descriptor);
  security->clear();
  if (e == ERROR_NOT_SUPPORTED || e == ERROR_INVALID_FUNCTION) return 0;
  if (e != ERROR_SUCCESS) return ErrnoFromWin32(e);
  const auto* bytes = static_cast<const unsigned char*>(descriptor);
  security->assign(bytes, bytes + ::GetSecurityDescriptorLength(descriptor));
  ::LocalFree(descriptor);
  return 0;
}

// Gives the file just created at name the access control list of the
// descriptor, inherited from the folder or protected from it as there (by
// name, so that the system takes the inherited entries from the folder),
// and its owner where the process may set it (that alone may fail).
int CopySecurity(const std::wstring& name, const std::vector<unsigned char>& security) {
  if (security.empty()) return 0;
  auto* descriptor = const_cast<unsigned char*>(security.data());
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  if (!::GetSecurityDescriptorControl(descriptor, &control, &revision) ||
      !::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) {
    return LastError();
  }
  const SECURITY_INFORMATION what =
      DACL_SECURITY_INFORMATION |
      ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                     : UNPROTECTED_DACL_SECURITY_INFORMATION);
  auto* path = const_cast<wchar_t*>(name.c_str());
  // No list at all lets everyone in, as it did the file replaced.
  const DWORD e = ::SetNamedSecurityInfoW(path, SE_FILE_OBJECT, what, nullptr, nullptr,
                                          present ? dacl : nullptr, nullptr);
  if (e != ERROR_SUCCESS) return ErrnoFromWin32(e);
  PSID owner = nullptr;
  if (::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner != nullptr) {
    ::SetNamedSecurityInfoW(path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, owner, nullptr,
                            nullptr, nullptr);
  }
  return 0;
}

// The part of a reparse point's data that a symbolic link has (the
// system's REPARSE_DATA_BUFFER, which only the driver kit declares).
struct SymbolicLinkData {
  DWORD tag;
  WORD data_length;
  WORD reserved;
  WORD substitute_offset;
  WORD substitute_length;
  WORD print_offset;
  WORD print_length;
  ULONG flags;
};

class WindowsEnv : public Env {
 public:
  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    const std::wstring name = SystemPath(path);
    // A folder cannot be opened as a file; say so rather than "access denied".
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return EISDIR;
    }
    DWORD access = 0;
    if (mode.read || !mode.write) access |= GENERIC_READ;
    if (mode.write) access |= GENERIC_WRITE;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (mode.exclusive_share) {
      share = 0;
    } else if (mode.deny_write) {
      share = FILE_SHARE_READ;
    }
    DWORD disposition = OPEN_EXISTING;
    if (mode.create) disposition = mode.exclusive ? CREATE_NEW : OPEN_ALWAYS;
    Handle h(::CreateFileW(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!h.valid()) return LastError();
    // Only regular files are text files: no device, pipe or console.
    if (::GetFileType(h.get()) != FILE_TYPE_DISK) return EINVAL;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h.get(), &info)) return LastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
    // Emptied only once the sharing checks have let the open through.
    if (mode.truncate && mode.write) {
      FILE_END_OF_FILE_INFO end{};
      if (!::SetFileInformationByHandle(h.get(), FileEndOfFileInfo, &end, sizeof end)) {
        return LastError();
      }
    }
    *file = std::make_unique<WindowsFile>(std::move(h));
    return 0;
  }

  bool EntryExists(const std::filesystem::path& path) override {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
  }

  bool FileExists(const std::filesystem::path& path) override {
    const std::wstring& text = path.native();
    // Wildcards would make this a search; no file name holds them.
    if (text.empty() || text.find_first_of(L"*?") != std::wstring::npos) return false;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(SystemPath(path).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    ::FindClose(find);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  bool DirectoryExists(const std::filesystem::path& path) override {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
    const std::wstring target = SystemPath(to);
    if (::MoveFileExW(SystemPath(from).c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return 0;
    }
    const DWORD e = ::GetLastError();
    // A target that another program holds open refuses as "access denied";
    // opening it for deletion tells whether that is the reason.
    if (e == ERROR_ACCESS_DENIED) {
      Handle probe(::CreateFileW(target.c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      if (!probe.valid() && ::GetLastError() == ERROR_SHARING_VIOLATION) {
        return ErrnoFromWin32(ERROR_SHARING_VIOLATION);
      }
    }
    return ErrnoFromWin32(e);
  }

  int ExchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) override {
    for (const auto* path : {&a, &b}) {
      const DWORD attributes = Attributes(*path);
      if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
    }
    // No swap in one step here; the writer keeps the old file another way.
    return ENOSYS;
  }

  // The second name is made only once the file can be deleted, that is
  // replaced: a file another program holds open without letting it be
  // deleted refuses the rename later, and its second name would stay.
  int LinkFile(const std::filesystem::path& existing, const std::filesystem::path& link) override {
    const std::wstring from = SystemPath(existing);
    Handle probe(::CreateFileW(from.c_str(), DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!probe.valid()) return LastError();
    probe.Close();
    if (::CreateHardLinkW(SystemPath(link).c_str(), from.c_str(), nullptr)) return 0;
    const DWORD e = ::GetLastError();
    // FAT and other file systems without links.
    return e == ERROR_INVALID_FUNCTION ? ENOSYS : ErrnoFromWin32(e);
  }

  int RemoveFile(const std::filesystem::path& path) override {
    return ::DeleteFileW(SystemPath(path).c_str()) ? 0 : LastError();
  }

  // MoveFileEx with MOVEFILE_WRITE_THROUGH has already made the rename durable.
  int SyncDirectory(const std::filesystem::path&) override { return 0; }

  int StatEntry(const std::filesystem::path& path, FileStatus* status) override {
    if (path.empty()) return ENOENT;
    const std::wstring name = SystemPath(path);
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // With the right to read the access control list where the user has it.
    bool read_control = true;
    Handle h(::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL, kShareAll, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid() && ::GetLastError() == ERROR_ACCESS_DENIED) {
      read_control = false;
      h.Reset(::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    }
    if (!h.valid()) return LastError();
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h.get(), &info)) return LastError();
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool disk = ::GetFileType(h.get()) == FILE_TYPE_DISK;
    status->kind = folder ? FileStatus::Kind::kDirectory
                   : disk ? FileStatus::Kind::kFile
                          : FileStatus::Kind::kOther;
    // Permission bits as the C library shows them: the read-only attribute
    // takes the write bits away.
    status->mode = folder ? 0777 : (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    status->owner = 0;
    status->group = 0;
    status->device = info.dwVolumeSerialNumber;
    status->inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    status->write_access = 0;
    status->security.clear();
    status->attributes = 0;
    if (status->kind == FileStatus::Kind::kFile) {
      // What a file that replaces it must keep; a file whose access list
      // cannot be read cannot be replaced faithfully, so it counts as one
      // the user may not write.
      status->attributes = info.dwFileAttributes & kKeptAttributes;
      const int err = read_control ? ReadSecurity(h.get(), &status->security) : EACCES;
      if (err != 0) status->write_access = err;
      // The access control list decides; someone else's open is no refusal.
      Handle probe(::CreateFileW(name.c_str(), FILE_WRITE_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!probe.valid()) {
        const int err = LastError();
        if (err != EWOULDBLOCK) status->write_access = err;
      }
    }
    return 0;
  }

  // A symbolic link's target as its print name gives it (as "dir" or
  // "mklink" show it); the substitute name, without its "\??\", where
  // there is none. Junctions and other reparse points are no links here.
  int ReadSymbolicLink(const std::filesystem::path& path, std::filesystem::path* target) override {
    if (path.empty()) return ENOENT;
    Handle h(::CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                           nullptr));
    if (!h.valid()) return LastError();
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h.get(), &info)) return LastError();
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return EINVAL;
    std::vector<unsigned char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (!::DeviceIoControl(h.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                           static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      return LastError();
    }
    SymbolicLinkData data;
    if (got < sizeof data) return EINVAL;
    std::memcpy(&data, buffer.data(), sizeof data);
    if (data.tag != IO_REPARSE_TAG_SYMLINK) return EINVAL;
    auto name = [&](WORD offset, WORD length) -> std::wstring {
      if (sizeof data + offset + length > got) return {};
      std::wstring text(length / sizeof(wchar_t), L'\0');
      std::memcpy(text.data(), buffer.data() + sizeof data + offset, text.size() * sizeof(wchar_t));
      return text;
    };
    std::wstring link = name(data.print_offset, data.print_length);
    if (link.empty()) {
      link = name(data.substitute_offset, data.substitute_length);
      if (link.starts_with(L"\\??\\UNC\\")) {
        link = L"\\\\" + link.substr(8);
      } else if (link.starts_with(L"\\??\\")) {
        link = link.substr(4);
      }
    }
    if (link.empty()) return EINVAL;
    *target = link;
    return 0;
  }

  // Without like, the new file takes the folder's inherited access control
  // list. With like, its access list, owner and attributes are set before a
  // byte is written; mode bits have no counterpart here.
  int CreateNewFile(const std::filesystem::path& path, const FileStatus* like,
                    std::unique_ptr<File>* file) override {
    std::wstring name = SystemPath(path);
    const DWORD attributes = like != nullptr && like->attributes != 0
                                 ? like->attributes & kKeptAttributes
                                 : FILE_ATTRIBUTE_NORMAL;
    Handle h(::CreateFileW(name.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           CREATE_NEW, attributes, nullptr));
    if (!h.valid()) return LastError();
    int err = h.Close();
    if (err == 0 && like != nullptr) err = CopySecurity(name, like->security);
    if (err != 0) {
      ::DeleteFileW(name.c_str());
      return err;
    }
    *file = std::make_unique<DeferredFile>(std::move(name));
    return 0;
  }

  // The lock is a handle on the folder that asks to add files and lets no
  // one else do so by handle; creating, renaming and listing entries stay
  // free. It goes with the handle, however the process ends.
  int TryLockFolder(const std::filesystem::path& folder,
                    std::unique_ptr<FolderLock>* lock) override {
    Handle h(::CreateFileW(FolderPath(folder).c_str(), FILE_ADD_FILE | SYNCHRONIZE, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid()) return LastError();
    *lock = std::make_unique<WindowsFolderLock>(std::move(h));
    return 0;
  }

  int ListFolder(const std::filesystem::path& folder, std::vector<std::string>* names) override {
    std::wstring pattern = FolderPath(folder);
    if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
    names->clear();
    if (find == INVALID_HANDLE_VALUE) {
      const DWORD e = ::GetLastError();
      return e == ERROR_FILE_NOT_FOUND ? 0 : ErrnoFromWin32(e);
    }
    do {
      const std::wstring_view name = data.cFileName;
      if (name != L"." && name != L"..") names->push_back(Utf8(name));
    } while (::FindNextFileW(find, &data));
    const DWORD e = ::GetLastError();
    ::FindClose(find);
    return e == ERROR_NO_MORE_FILES ? 0 : ErrnoFromWin32(e);
  }

  int ProcessId() override { return static_cast<int>(::GetCurrentProcessId()); }
  // No rule on links in shared folders to apply: StatEntry never shows a
  // sticky folder.
  std::uint32_t EffectiveUserId() override { return 0; }

  std::uint64_t RandomNumber() override {
    std::uint64_t value = 0;
    if (::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&value), sizeof value,
                          BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0) {
      return value;
    }
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15u;
  }

  std::filesystem::path ModuleFileName() override {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), buffer.size());
      if (n == 0) return {};
      if (n < buffer.size()) {
        buffer.resize(n);
        break;
      }
      buffer.resize(buffer.size() * 2);  // cut short
    }
    // The long form of each name, as the user sees the folder.
    using LongPathName = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
    if (auto long_name = SystemFunction<LongPathName>(L"kernel32.dll", "GetLongPathNameW")) {
      const DWORD n = long_name(buffer.c_str(), nullptr, 0);
      if (n > 0) {
        std::wstring full(n, L'\0');
        const DWORD m = long_name(buffer.c_str(), full.data(), n);
        if (m > 0 && m < n) {
          full.resize(m);
          return full;
        }
      }
    }
    return buffer;
  }

  int OsMajorVersion() override {
    // GetVersionEx reports what the program's manifest admits to, not the system.
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    if (auto get = SystemFunction<RtlGetVersion>(L"ntdll.dll", "RtlGetVersion")) {
      OSVERSIONINFOW info{};
      info.dwOSVersionInfoSize = sizeof info;
      if (get(&info) == 0) return static_cast<int>(info.dwMajorVersion);
    }
    return 10;
  }

  std::optional<std::filesystem::path> KnownLocalAppDataFolder() override {
    PWSTR folder = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder);
    std::optional<std::filesystem::path> path;
    if (SUCCEEDED(result) && folder != nullptr) path = WithoutTrailingSeparator(folder);
    ::CoTaskMemFree(folder);
    return path;
  }

  std::optional<std::filesystem::path> LocalAppDataFolder() override {
    wchar_t folder[MAX_PATH];
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                  folder))) {
      return std::nullopt;
    }
    return WithoutTrailingSeparator(folder);
  }

  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override {
    const std::wstring key = Wide(Utf8ToUtf16(name));
    std::wstring value(64, L'\0');
    for (;;) {
      ::SetLastError(0);
      const DWORD n = ::GetEnvironmentVariableW(key.c_str(), value.data(), value.size());
      if (n == 0) {
        if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
      }
      if (n < value.size()) {
        value.resize(n);
        return Utf8(value);
      }
      value.resize(n);  // n counts the terminator here
    }
  }

  // A satellite is loaded as data, never as code: LoadLibraryW would run
  // the entry point of whatever DLL sits under the satellite's name, and
  // resources need none of it. The image mapping keeps the resources where
  // the system's resource calls expect them.
  std::unique_ptr<Library> LoadLibrary(const std::filesystem::path& path) override {
    if (!path.is_absolute()) return nullptr;
    // No "missing DLL" box from the system: a library that does not load is
    // simply not used.
    const UINT old_mode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = ::LoadLibraryExW(SystemPath(path).c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ::SetErrorMode(old_mode);
    if (module == nullptr) return nullptr;
    return std::make_unique<WindowsLibrary>(module);
  }

  bool CanPrintMessages() override {
    const auto* image = reinterpret_cast<const unsigned char*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    if (nt->OptionalHeader.Subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI) return true;
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    return error != nullptr && error != INVALID_HANDLE_VALUE &&
           ::GetFileType(error) != FILE_TYPE_UNKNOWN;
  }

  void RunTasks(const std::vector<std::function<void()>>& tasks) override {
    struct Start {
      TaskErrors* errors;
      const std::function<void()>* task;
      std::size_t index;
    };
    TaskErrors errors(tasks.size());
    std::vector<Start> starts;
    starts.reserve(tasks.size());
    std::vector<HANDLE> threads;
    threads.reserve(tasks.size());
    for (std::size_t i = 1; i < tasks.size(); ++i) {
      starts.push_back({&errors, &tasks[i], i});
      const HANDLE thread = ::CreateThread(
          nullptr, 0,
          [](void* data) -> DWORD {
            const Start* start = static_cast<const Start*>(data);
            start->errors->Run(start->index, *start->task);
            return 0;
          },
          &starts.back(), 0, nullptr);
      if (thread != nullptr) {
        threads.push_back(thread);
      } else {
        errors.Run(i, tasks[i]);  // no thread to be had: here, then
      }
    }
    if (!tasks.empty()) errors.Run(0, tasks[0]);
    for (HANDLE thread : threads) {
      ::WaitForSingleObject(thread, INFINITE);
      ::CloseHandle(thread);
    }
    errors.RethrowFirst();
  }

  // Only where nothing can be printed, so batch use of the console program
  // never touches the window system.
  void ShowMessageWindow(std::u16string_view text) override {
    const std::wstring caption = ModuleFileName().stem().wstring();
    ::MessageBoxW(nullptr, Wide(text).c_str(), caption.empty() ? nullptr : caption.c_str(),
                  MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
  }
};

}  // namespace

void PrepareProcess() {
  // Line ends as on POSIX ("\n"), so that scripts read the same bytes. The
  // console's code page stays as the user set it: WriteStandardError writes
  // UTF-16 there.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  std::vector<std::string> arguments(argv, argv + argc);
  // Only the C runtime's own arguments (main() gets a copy) stand for the
  // command line; others, a test's, are taken as they are.
  if (argc != __argc) return arguments;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]) != __argv[i]) return arguments;
  }
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  // Always the wide ones, even when they split otherwise: the ANSI command
  // line is what best-fit conversion made of it (a fullwidth quote, U+FF02,
  // becomes '"' and splits an argument in two).
  arguments.assign(count, std::string());
  for (int i = 0; i < count; ++i) arguments[i] = Utf8(wide[i]);
  ::LocalFree(wide);
  return arguments;
}

std::filesystem::path ResolveDriveRelative(const std::filesystem::path& folder) {
  if (!folder.has_root_name() || folder.has_root_directory()) return folder;
  const std::optional<std::wstring> full = FullPathName(folder.native());
  return full ? std::filesystem::path(*full) : folder;
}

namespace {

void WriteStream(std::FILE* stream, std::u16string_view text) {
  std::fflush(stream);
  const int fd = _fileno(stream);
  const auto handle = fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode)) {
    std::wstring wide;  // CR LF line ends, as a console expects
    for (char16_t c : text) {
      if (c == u'\n') wide += L'\r';
      wide += static_cast<wchar_t>(c);
    }
    // Older consoles refuse very long writes. A failed write ends the
    // message: there is nowhere left to report it.
    constexpr std::size_t kConsoleChunk = 8192;
    for (std::size_t at = 0; at < wide.size();) {
      DWORD written = 0;
      const auto n = static_cast<DWORD>(std::min(wide.size() - at, kConsoleChunk));
      if (!::WriteConsoleW(handle, wide.data() + at, n, &written, nullptr) || written == 0) break;
      at += written;
    }
    return;
  }
  const std::string bytes = Utf16ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

}  // namespace

void WriteStandardOutput(std::u16string_view text) { WriteStream(stdout, text); }

void WriteStandardError(std::u16string_view text) { WriteStream(stderr, text); }

void* AllocateLargeBlock(std::size_t bytes) { return std::malloc(std::max<std::size_t>(bytes, 1)); }

Env* Env::Default() {
  static WindowsEnv env;
  return &env;
}

}  // namespace junctra
