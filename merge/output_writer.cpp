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
    if (env->RenameFile(class_temp, class_target) != 0) {
      result.classes_written = false;
      result.tags_written = false;
    } else if (env->RenameFile(tag_temp, tag_target) != 0) {
      result.tags_written = false;
    }
    if (result.classes_written) env->SyncDirectory(folder);
  }
  if (!result.ok()) {
    env->RemoveFile(class_temp);
    env->RemoveFile(tag_temp);
  }
  return result;
}

}  // namespace junctra
