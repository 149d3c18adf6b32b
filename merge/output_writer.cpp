#include "merge/output_writer.h"

#include <cerrno>
#include <functional>
#include <string>

#include "merge/path_ops.h"
#include "platform/stdio_file.h"

namespace junctra {
namespace {

// Creates path exclusively, lets save fill it, and pushes it to the device.
// False on any failure; the caller removes the file.
bool WriteTemporary(const std::filesystem::path& path,
                    const std::function<bool(const std::filesystem::path&)>& save, Env* env) {
  OpenMode create;
  create.read = false;
  create.write = true;
  create.create = true;
  create.exclusive = true;
  std::unique_ptr<File> file;
  if (env->OpenFile(path, create, &file) != 0) return false;
  if (file->Close() != 0) return false;
  try {
    if (!save(path)) return false;
  } catch (const CFileException&) {
    return false;  // disk full, I/O error: a failed save, nothing more
  }
  OpenMode reopen;
  if (env->OpenFile(path, reopen, &file) != 0) return false;
  int err = file->Sync();
  int close_err = file->Close();
  return err == 0 && close_err == 0;
}

}  // namespace

WriteResult WriteMergedDatabase(const std::filesystem::path& folder, const CClassList& classes,
                                const CTagList& tags, Env* env) {
  const auto class_target = MakeFilePath(folder, "class.lst");
  const auto tag_target = MakeFilePath(folder, "tagl.txt");
  const auto class_temp = MakeFilePath(folder, std::string("class.lst") + kTemporarySuffix);
  const auto tag_temp = MakeFilePath(folder, std::string("tagl.txt") + kTemporarySuffix);

  // Leftovers of a run that was killed.
  env->RemoveFile(class_temp);
  env->RemoveFile(tag_temp);

  WriteResult result;
  result.classes_written = WriteTemporary(
      class_temp, [&](const std::filesystem::path& p) { return classes.SaveClassFile(p, env); },
      env);
  result.tags_written = WriteTemporary(
      tag_temp, [&](const std::filesystem::path& p) { return tags.SaveTagFile(p, env); }, env);

  if (result.ok()) {
    // The two renames run back to back. An existing class.lst is exchanged
    // rather than replaced, so that it can be put back if tagl.txt cannot
    // be renamed; until then it waits under the temporary's name.
    const bool existed = env->EntryExists(class_target);
    bool displaced = false;
    int err = ENOENT;
    if (existed) {
      err = env->ExchangeFiles(class_temp, class_target);
      displaced = err == 0;
    }
    if (err == ENOENT || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
      err = env->RenameFile(class_temp, class_target);
    }
    if (err != 0) {
      result.classes_written = false;
      result.tags_written = false;
    } else if (env->RenameFile(tag_temp, tag_target) != 0) {
      result.tags_written = false;
      if (displaced) {
        env->RenameFile(class_temp, class_target);
      } else if (!existed) {
        env->RemoveFile(class_target);
      }
    }
    // The files are in place; a folder that cannot be synced changes
    // nothing about that, so it is not reported.
    if (result.ok()) env->SyncDirectory(folder);
  }
  // What is left: the temporaries of a failed run, or the class.lst that
  // was exchanged out.
  env->RemoveFile(class_temp);
  env->RemoveFile(tag_temp);
  return result;
}

}  // namespace junctra
