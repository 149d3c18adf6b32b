#include "merge/output_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/interrupt.h"
#include "platform/path_ops.h"
#include "platform/stdio_file.h"

namespace junctra {
namespace {

// The files of a database, in the order they are written and renamed.
constexpr std::string_view kFileNames[] = {"class.lst", "tagl.txt"};
// Random names that may already be taken before a run gives up.
constexpr int kNameAttempts = 8;
// Symbolic links followed from a target before it counts as a loop.
constexpr int kMaxLinks = 40;

using Save = std::function<bool(const std::filesystem::path&, Env*)>;

// This run's temporary file: removed on every way out of the run, an
// exception too, and when the process is interrupted.
class TemporaryFile {
 public:
  TemporaryFile(const std::filesystem::path& path, Env* env)
      : path_(path), env_(env), on_interrupt_(path) {}
  ~TemporaryFile() { env_->RemoveFile(path_); }

 private:
  std::filesystem::path path_;
  Env* env_;
  RemovedOnInterrupt on_interrupt_;
};

// One of the files: where it goes and how far it got.
struct Output {
  Output(std::string_view file, const std::filesystem::path& in)
      : name(file), target(MakeFilePath(in, file)), folder(in) {}

  std::string_view name;
  std::filesystem::path target;  // the file to replace
  std::filesystem::path folder;  // the folder it is in, ending in "/"
  std::uint64_t folder_device = 0;
  std::uint64_t folder_inode = 0;
  // The file being replaced; none when the target is new.
  std::optional<FileStatus> existing;
  std::filesystem::path temp;                // this run's temporary; empty until created
  std::unique_ptr<TemporaryFile> temp_file;  // removes temp
  SaveError error;

  bool Fail(int err) {
    error = {target, err};
    return false;
  }
};

bool IsDigits(std::string_view text, bool hex) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [hex](char c) {
    return (c >= '0' && c <= '9') || (hex && c >= 'a' && c <= 'f');
  });
}

std::filesystem::path TemporaryName(const Output& out, Env* env) {
  char tag[32];
  std::snprintf(tag, sizeof tag, ".%d-%08x", env->ProcessId(),
                static_cast<unsigned>(env->RandomNumber() & 0xFFFFFFFFu));
  return MakeFilePath(out.folder, std::string(out.name) + tag + kTemporarySuffix);
}

// The kernel's rule for links in shared folders, which it cannot apply to
// links followed here: in a sticky folder that everyone may write, a link
// is followed only when it belongs to the user or to the folder's owner,
// since anyone may have planted it there. 0 or why not.
int MayFollow(const std::filesystem::path& link, Env* env) {
  std::filesystem::path folder = link.parent_path();
  if (folder.empty()) folder = ".";
  EnsureTrailingBackslash(folder);  // the folder itself, should it be a link
  FileStatus folder_status, link_status;
  if (int err = env->StatEntry(folder, &folder_status)) return err;
  if ((folder_status.mode & 01002) != 01002) return 0;
  if (int err = env->StatEntry(link, &link_status)) return err;
  const bool trusted =
      link_status.owner == env->EffectiveUserId() || link_status.owner == folder_status.owner;
  return trusted ? 0 : EACCES;
}

// Follows a chain of symbolic links from the target to the file it ends at,
// which may not exist yet: that file is replaced, its temporary goes beside
// it, and the links stay as they are.
bool ResolveLinks(Output& out, Env* env) {
  std::filesystem::path path = out.target;
  for (int links = 0;; ++links) {
    std::filesystem::path link;
    const int err = env->ReadSymbolicLink(path, &link);
    if (err == EINVAL || err == ENOENT) break;  // a file, a folder, or nothing yet
    if (err != 0) return out.Fail(err);
    if (links == kMaxLinks) return out.Fail(ELOOP);
    if (int err = MayFollow(path, env)) {
      out.error = {path, err};
      return false;
    }
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  if (path != out.target) {
    out.target = path;
    out.folder = path.parent_path();
    EnsureTrailingBackslash(out.folder);
  }
  return true;
}

// Looks at the file to be replaced, with its folder locked. A folder in its
// place or a file the user may not write (by access or by its mode alone:
// root may write anything) is refused.
bool CheckTarget(Output& out, Env* env) {
  FileStatus status;
  const int err = env->StatEntry(out.target, &status);
  if (err == ENOENT) return true;
  if (err != 0) return out.Fail(err);
  if (status.kind == FileStatus::Kind::kDirectory) return out.Fail(EISDIR);
  // Made a link since it was followed: its mode says nothing; try again.
  if (status.kind == FileStatus::Kind::kSymbolicLink) return out.Fail(EAGAIN);
  if (status.write_access != 0) return out.Fail(status.write_access);
  if ((status.mode & 0222) == 0) return out.Fail(EACCES);
  out.existing = status;
  return true;
}

// Both targets end at one file, through links or as two names of it: one
// would replace the other. Both folders are locked.
bool SameFile(const Output& a, const Output& b) {
  if (a.existing && b.existing) {
    return a.existing->device == b.existing->device && a.existing->inode == b.existing->inode;
  }
  return a.folder_device == b.folder_device && a.folder_inode == b.folder_inode &&
         a.target.filename() == b.target.filename();
}

// Creates this run's temporary for out under a name no one else uses, with
// the owner and permissions of the file it replaces, lets save fill it and
// pushes it to the device. False with out.error set on failure; the caller
// removes out.temp.
bool WriteTemporary(Output& out, const Save& save, Env* env) {
  std::unique_ptr<File> file;
  int err = EEXIST;
  for (int i = 0; i < kNameAttempts && err == EEXIST; ++i) {
    const auto temp = TemporaryName(out, env);
    // Made and registered for removal in one step, as an interruption sees it.
    InterruptsDeferred deferred;
    err = env->CreateNewFile(temp, out.existing ? &*out.existing : nullptr, &file);
    if (err == 0) {
      out.temp = temp;
      out.temp_file = std::make_unique<TemporaryFile>(temp, env);
    }
  }
  if (err != 0) return out.Fail(err);
  OpenErrorRecorder recorder(env);
  try {
    if (!save(out.temp, &recorder)) {
      return out.Fail(recorder.last_error != 0 ? recorder.last_error : EIO);
    }
  } catch (const CFileException& e) {
    return out.Fail(e.error());  // disk full, I/O error: a failed save, nothing more
  }
  // fsync pushes the file's data whichever descriptor wrote it.
  err = file->Sync();
  const int close_err = file->Close();
  return (err == 0 && close_err == 0) || out.Fail(err != 0 ? err : close_err);
}

// Locks every folder the outputs go into, each once and all in one order
// (by identity, whatever the path says), so that two runs never wait for
// each other crosswise. The folders locked are added to folders. False when
// one cannot be had: a busy folder in result, or the outputs' errors.
bool LockFolders(std::vector<Output>& outputs, std::chrono::milliseconds wait, Env* env,
                 std::vector<std::unique_ptr<FolderLock>>* locks,
                 std::vector<std::filesystem::path>* folders, WriteResult* result) {
  std::vector<Output*> order;
  for (Output& out : outputs) {
    FileStatus status;
    if (int err = env->StatEntry(out.folder, &status)) {
      out.Fail(err);
      continue;
    }
    out.folder_device = status.device;
    out.folder_inode = status.inode;
    order.push_back(&out);
  }
  if (order.size() != outputs.size()) return false;
  auto identity = [](const Output* out) { return std::tie(out->folder_device, out->folder_inode); };
  std::sort(order.begin(), order.end(),
            [&](const Output* a, const Output* b) { return identity(a) < identity(b); });
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && identity(order[i]) == identity(order[i - 1])) continue;
    std::unique_ptr<FolderLock> lock;
    const int err = env->LockFolder(order[i]->folder, wait, &lock);
    if (err == EWOULDBLOCK) {
      result->busy_folder = order[i]->folder;
      return false;
    }
    if (err != 0) {
      for (Output* out : order) {
        if (identity(out) == identity(order[i])) out->Fail(err);
      }
      return false;
    }
    locks->push_back(std::move(lock));
    folders->push_back(order[i]->folder);
  }
  return true;
}

// Removes the temporaries of runs that were killed. Called only with the
// folder locked, when no live run has a temporary there.
void RemoveLeftovers(const std::filesystem::path& folder, Env* env) {
  std::vector<std::string> names;
  if (env->ListFolder(folder, &names) != 0) return;  // they go with a later run
  for (const std::string& name : names) {
    if (IsTemporaryName(name)) env->RemoveFile(MakeFilePath(folder, name));
  }
}

// Copies the file that out replaces to a new file named like a temporary,
// with its permissions, and pushes the copy to the device. On failure no
// copy is left and kept is empty.
int KeepCopy(const Output& out, Env* env, std::filesystem::path* kept) {
  constexpr std::size_t kCopyChunk = 1u << 16;
  std::unique_ptr<File> from, to;
  OpenMode read;
  read.deny_write = true;
  int err = env->OpenFile(out.target, read, &from);
  for (int i = 0; err == 0 && i < kNameAttempts; ++i) {
    *kept = TemporaryName(out, env);
    err = env->CreateNewFile(*kept, out.existing ? &*out.existing : nullptr, &to);
    if (err != EEXIST) break;
  }
  if (err != 0) {
    kept->clear();
    return err;
  }
  std::vector<char> buffer(kCopyChunk);
  for (std::uint64_t at = 0;;) {
    std::size_t got = 0;
    if ((err = from->ReadAt(at, buffer.data(), buffer.size(), &got)) != 0 || got == 0) break;
    if ((err = to->WriteAt(at, buffer.data(), got)) != 0) break;
    at += got;
  }
  if (err == 0) err = to->Sync();
  const int close_err = to->Close();
  if (err == 0) err = close_err;
  from->Close();
  if (err != 0) {
    env->RemoveFile(*kept);
    kept->clear();
  }
  return err;
}

// Renames both temporaries over their targets, back to back. An existing
// class.lst is exchanged rather than replaced, so that it can be put back
// if tagl.txt cannot be renamed; until then it waits under the temporary's
// name. Where the file system cannot exchange, a second name (a hard link
// named like a temporary) keeps it instead; where it has no links either
// (FAT, exFAT, many shares), a copy under such a name. When none can be
// made, nothing is replaced.
bool RenameIntoPlace(Output& classes, Output& tags, Env* env) {
  const bool existed = classes.existing.has_value();
  bool displaced = false;
  std::filesystem::path kept;
  int err = ENOENT;
  if (existed) {
    err = env->ExchangeFiles(classes.temp, classes.target);
    displaced = err == 0;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
      err = EEXIST;
      for (int i = 0; i < kNameAttempts && err == EEXIST; ++i) {
        kept = TemporaryName(classes, env);
        err = env->LinkFile(classes.target, kept);
      }
      if (err == ENOSYS || err == EPERM || err == EXDEV || err == EOPNOTSUPP) {
        err = KeepCopy(classes, env, &kept);
      }
      if (err != 0) return classes.Fail(err);
      err = ENOENT;
    }
  }
  if (err == ENOENT) err = env->RenameFile(classes.temp, classes.target);
  if (err == 0 && (err = env->RenameFile(tags.temp, tags.target)) != 0) {
    if (displaced) {
      env->RenameFile(classes.temp, classes.target);
    } else if (!kept.empty()) {
      // Should this fail too, the old file is still there under the second name.
      env->RenameFile(kept, classes.target);
    } else if (!existed) {
      env->RemoveFile(classes.target);
    }
    return tags.Fail(err);
  }
  if (!kept.empty()) env->RemoveFile(kept);
  return err == 0 || classes.Fail(err);
}

}  // namespace

bool IsTemporaryName(std::string_view name) {
  constexpr std::string_view suffix = kTemporarySuffix;
  for (std::string_view file : kFileNames) {
    if (name.size() < file.size() + suffix.size() || !name.starts_with(file) ||
        !name.ends_with(suffix)) {
      continue;
    }
    std::string_view tag = name.substr(file.size(), name.size() - file.size() - suffix.size());
    if (tag.empty()) return true;  // an earlier version's fixed name
    if (tag.front() != '.') continue;
    tag.remove_prefix(1);
    const std::size_t dash = tag.find('-');
    if (dash != std::string_view::npos && IsDigits(tag.substr(0, dash), false) &&
        IsDigits(tag.substr(dash + 1), true)) {
      return true;
    }
  }
  return false;
}

WriteResult WriteMergedDatabase(const std::filesystem::path& folder, const CClassList& classes,
                                const CTagList& tags, Env* env) {
  WriteResult result;
  std::vector<Output> outputs;
  bool ready = true;
  for (std::string_view name : kFileNames) {
    outputs.emplace_back(name, folder);
    // A file that Windows takes for this one is replaced under its own
    // spelling, so that the folder never holds both.
    const FoundFile found = FindDatabaseFile(folder, name, env);
    if (found.ambiguous) {
      result.ambiguous = found.path;
      return result;
    }
    outputs.back().target = found.path;
    // A target that cannot even be looked at is not replaced.
    if (found.error != 0 && found.error != ENOENT) ready = outputs.back().Fail(found.error);
  }
  Output& class_out = outputs[0];
  Output& tag_out = outputs[1];

  // Both targets are looked at before anything is written: when either
  // cannot be replaced, neither is.
  std::vector<std::unique_ptr<FolderLock>> locks;
  std::vector<std::filesystem::path> folders;
  for (Output& out : outputs) ready &= ResolveLinks(out, env);
  ready = ready && LockFolders(outputs, kFolderLockWait, env, &locks, &folders, &result);
  if (ready) {
    for (Output& out : outputs) ready &= CheckTarget(out, env);
  }
  if (ready && SameFile(class_out, tag_out)) {
    class_out.error = {class_out.target, EEXIST, true};
    ready = false;
  }
  if (ready) {
    for (const auto& locked : folders) RemoveLeftovers(locked, env);
    const bool classes_saved = WriteTemporary(
        class_out, [&](const auto& p, Env* e) { return classes.SaveClassFile(p, e); }, env);
    const bool tags_saved = WriteTemporary(
        tag_out, [&](const auto& p, Env* e) { return tags.SaveTagFile(p, e); }, env);
    bool renamed = false;
    if (classes_saved && tags_saved) {
      // An interruption waits for both renames (and a put-back): after the
      // first, the old class.lst sits under its temporary's name.
      InterruptsDeferred deferred;
      renamed = RenameIntoPlace(class_out, tag_out, env);
    }
    if (renamed) {
      result.classes_written = true;
      result.tags_written = true;
      // The files are in place; a folder that cannot be synced changes
      // nothing about that, so it is not reported.
      for (const auto& locked : folders) env->SyncDirectory(locked);
    }
    // What is left: the temporaries of a failed run, or the class.lst that
    // was exchanged out. The locks are still held.
    for (Output& out : outputs) out.temp_file.reset();
  }
  result.class_error = class_out.error;
  result.tag_error = tag_out.error;
  return result;
}

}  // namespace junctra
