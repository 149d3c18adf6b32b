// The real Env of the system the tests run on.
#include "platform/env.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
// These need <windows.h> first.
#include <aclapi.h>
#include <sddl.h>
#endif

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "platform/error_text.h"
#include "platform/text.h"
#include "tests/system_reason.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// The real Env runs tasks at once (each here waits for the other to
// start); both it and the sequential one run every task and throw the
// first task's error.
TEST(EnvTest, TasksRunTogetherAndTheFirstTasksErrorIsThrown) {
  std::atomic<int> started{0};
  const auto meet = [&started] {
    ++started;
    for (int i = 0; i < 10000 && started < 2; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (started < 2) throw std::runtime_error("ran alone");
  };
  EXPECT_NO_THROW(Env::Default()->RunTasks({meet, meet}));

  EnvWrapper sequential(Env::Default());
  for (Env* env : {Env::Default(), static_cast<Env*>(&sequential)}) {
    std::vector<int> ran(3);
    try {
      env->RunTasks({[&] {
                       ran[0] = 1;
                       throw std::runtime_error("first");
                     },
                     [&] {
                       ran[1] = 1;
                       throw std::logic_error("second");
                     },
                     [&] { ran[2] = 1; }});
      ADD_FAILURE() << "nothing thrown";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 1, 1}));
  }
}

TEST(EnvTest, ErrorsArriveAsErrnoValues) {
  TempDir dir;
  Env* env = Env::Default();
  std::unique_ptr<File> file;
  EXPECT_EQ(env->OpenFile(dir.path() / "missing", {}, &file), ENOENT);
  EXPECT_EQ(env->OpenFile(dir.path(), {}, &file), EISDIR);
  std::ofstream(dir.path() / "a") << "x";
  EXPECT_EQ(env->CreateNewFile(dir.path() / "a", nullptr, &file), EEXIST);
  EXPECT_EQ(env->RemoveFile(dir.path() / "missing"), ENOENT);
  EXPECT_EQ(env->ExchangeFiles(dir.path(), dir.path() / "a"), EISDIR);
}

// The reasons messages give are the system's: on Windows its own message
// for the Windows error behind a failure, or for the one the program's
// errno value stands for; a file that another program holds open is named
// as such, not as access denied.
TEST(EnvTest, ReasonsAreTheSystemsOwn) {
  TempDir dir;
  Env* env = Env::Default();
  std::unique_ptr<File> file;
  const auto reason = [](int error) { return Utf8ToUtf16(ErrorText(error)); };
  EXPECT_EQ(reason(env->OpenFile(dir.path() / "missing" / "a", {}, &file)),
            SystemReason(u"No such file or directory", kPathNotFound));
  EXPECT_EQ(reason(env->OpenFile(dir.path() / "missing", {}, &file)),
            SystemReason(u"No such file or directory", kFileNotFound));
  EXPECT_EQ(reason(EACCES), SystemReason(u"Permission denied", kAccessDenied));
#ifdef _WIN32
  std::ofstream(dir.path() / "new") << "new";
  std::ofstream(dir.path() / "held") << "old";
  HANDLE held = CreateFileW((dir.path() / "held").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(reason(env->RenameFile(dir.path() / "new", dir.path() / "held")),
            SystemReason(nullptr, kSharingViolation));
  CloseHandle(held);
#endif
}

TEST(EnvTest, SharingAndFolderLocksExcludeASecondOpener) {
  TempDir dir;
  Env* env = Env::Default();
  std::ofstream(dir.path() / "a") << "x";
  OpenMode deny_write;
  deny_write.deny_write = true;
  OpenMode exclusive;
  exclusive.exclusive_share = true;
  std::unique_ptr<File> reader, other;
  ASSERT_EQ(env->OpenFile(dir.path() / "a", deny_write, &reader), 0);
  EXPECT_EQ(env->OpenFile(dir.path() / "a", deny_write, &other), 0);
  EXPECT_EQ(env->OpenFile(dir.path() / "a", exclusive, &other), EWOULDBLOCK);

  std::unique_ptr<FolderLock> first, second;
  ASSERT_EQ(env->TryLockFolder(dir.path(), &first), 0);
  EXPECT_EQ(env->TryLockFolder(dir.path(), &second), EWOULDBLOCK);
  // Entries can still be listed and made while the folder is locked.
  std::unique_ptr<File> created;
  EXPECT_EQ(env->CreateNewFile(dir.path() / "b", nullptr, &created), 0);
  std::vector<std::string> names;
  EXPECT_EQ(env->ListFolder(dir.path(), &names), 0);
  EXPECT_EQ(names.size(), 2u);
  first.reset();
  EXPECT_EQ(env->TryLockFolder(dir.path(), &second), 0);
}

TEST(EnvTest, PathsLongerThan260CharactersWork) {
  TempDir dir;
  Env* env = Env::Default();
  std::filesystem::path folder = dir.path();
  std::filesystem::path make = std::filesystem::absolute(folder);
#ifdef _WIN32
  // The test makes its folders through the long form itself.
  make = L"\\\\?\\" + make.native();
#endif
  std::vector<std::filesystem::path> made;
  for (int i = 0; i < 6; ++i) {
    const std::string name(50, static_cast<char>('a' + i));
    folder /= name;
    make /= name;
    made.push_back(make);
  }
  ASSERT_TRUE(std::filesystem::create_directories(make));
  const auto path = folder / "tagl.txt";
  ASSERT_GT(path.native().size(), 300u);
  std::unique_ptr<File> file;
  ASSERT_EQ(env->CreateNewFile(path, nullptr, &file), 0);
  ASSERT_EQ(file->WriteAt(0, "abc", 3), 0);
  ASSERT_EQ(file->Close(), 0);
  EXPECT_TRUE(env->FileExists(path));
  ASSERT_EQ(env->OpenFile(path, {}, &file), 0);
  char bytes[4] = {};
  std::size_t got = 0;
  EXPECT_EQ(file->ReadAt(1, bytes, sizeof bytes, &got), 0);
  EXPECT_EQ(std::string(bytes, got), "bc");
  file.reset();
  EXPECT_EQ(env->RenameFile(path, folder / "class.lst"), 0);
  EXPECT_EQ(env->RemoveFile(folder / "class.lst"), 0);
  // One by one: remove_all does not walk the long form.
  for (auto it = made.rbegin(); it != made.rend(); ++it) std::filesystem::remove(*it);
}

#ifdef _WIN32
// The file's owner (O:) or access list (D:) in the system's text form.
std::wstring Security(const std::filesystem::path& path, SECURITY_INFORMATION part) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  wchar_t* text = nullptr;
  if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, part, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) == ERROR_SUCCESS) {
    ::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, part, &text,
                                                           nullptr);
  }
  std::wstring result = text != nullptr ? text : L"(none)";
  ::LocalFree(text);
  ::LocalFree(descriptor);
  return result;
}

// A file made like another takes its access list (here one for its owner
// alone, not what the folder hands down) and its hidden and system
// attributes; one made like none, the folder's.
TEST(EnvTest, AFileMadeLikeAnotherTakesItsAccessListAndAttributes) {
  TempDir dir;
  Env* env = Env::Default();
  const auto target = dir.path() / "tagl.txt";
  std::ofstream(target) << "x";
  const std::wstring sddl =
      L"D:P(A;;FA;;;" + Security(target, OWNER_SECURITY_INFORMATION).substr(2) + L")";
  PSECURITY_DESCRIPTOR restricted = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                     &restricted, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ::GetSecurityDescriptorDacl(restricted, &present, &dacl, &defaulted);
  ASSERT_EQ(::SetNamedSecurityInfoW(const_cast<wchar_t*>(target.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, dacl, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));
  ::LocalFree(restricted);
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), kept));
  // Wine keeps no access lists: it shows one made from the mode bits.
  const std::wstring list = Security(target, DACL_SECURITY_INFORMATION);
  const bool lists_kept = list.find(L";WD)") == std::wstring::npos;

  FileStatus like;
  ASSERT_EQ(env->StatEntry(target, &like), 0);
  EXPECT_EQ(like.write_access, 0);
  for (const FileStatus* from : {&like, static_cast<FileStatus*>(nullptr)}) {
    const auto path = dir.path() / (from != nullptr ? "made" : "plain");
    std::unique_ptr<File> file;
    ASSERT_EQ(env->CreateNewFile(path, from, &file), 0);
    ASSERT_EQ(file->Close(), 0);
    EXPECT_TRUE(!lists_kept ||
                (Security(path, DACL_SECURITY_INFORMATION) == list) == (from != nullptr));
    EXPECT_EQ(::GetFileAttributesW(path.c_str()) & kept, from != nullptr ? kept : 0u);
  }
}

// A file another program holds open without letting it be deleted gets no
// second name: it cannot be replaced then, and the name would stay behind.
TEST(EnvTest, AFileThatCannotBeDeletedGetsNoSecondName) {
  TempDir dir;
  Env* env = Env::Default();
  const auto file = dir.path() / "class.lst", kept = dir.path() / "kept";
  std::ofstream(file) << "x";
  HANDLE other = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(env->LinkFile(file, kept), EWOULDBLOCK);
  EXPECT_FALSE(std::filesystem::exists(kept));
  ::CloseHandle(other);
  EXPECT_EQ(env->LinkFile(file, kept), 0);
}
#endif

}  // namespace
}  // namespace junctra
