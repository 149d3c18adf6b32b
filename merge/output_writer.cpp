#include "merge/output_writer.h"

#include <cerrno>
#include <functional>
#include <string>

#include "merge/path_ops.h"
#include "platform/stdio_file.h"

namespace junctra {
namespace {

// Remembers why the last open failed: the savers report only that they
// could not open their file.
class OpenErrorRecorder : public EnvWrapper {
 public:
  explicit OpenErrorRecorder(Env* target) : EnvWrapper(target) {}
  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    last_error = target()->OpenFile(path, mode, file);
    return last_error;
  }
  int last_error = 0;
};

// Creates path exclusively, lets save fill it, and pushes it to the device.
// Returns 0 or the errno value of the step that failed; the caller removes
// the file.
int WriteTemporary(const std::filesystem::path& path,
                   const std::function<bool(const std::filesystem::path&, Env*)>& save, Env* env) {
  OpenMode create;
  create.read = false;
  create.write = true;
  create.create = true;
  create.exclusive = true;
  std::unique_ptr<File> file;
  if (int err = env->OpenFile(path, create, &file)) return err;
  if (int err = file->Close()) return err;
  OpenErrorRecorder recorder(env);
  try {
    if (!save(path, &recorder)) return recorder.last_error != 0 ? recorder.last_error : EIO;
  } catch (const CFileException& e) {
    return e.error();  // disk full, I/O error: a failed save, nothing more
  }
  OpenMode reopen;
  if (int err = env->OpenFile(path, reopen, &file)) return err;
  const int err = file->Sync();
  const int close_err = file->Close();
  return err != 0 ? err : close_err;
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
  result.class_error = {class_target, WriteTemporary(
                                          class_temp,
                                          [&](const std::filesystem::path& p, Env* e) {
                                            return classes.SaveClassFile(p, e);
                                          },
                                          env)};
  result.tag_error = {
      tag_target,
      WriteTemporary(
          tag_temp, [&](const std::filesystem::path& p, Env* e) { return tags.SaveTagFile(p, e); },
          env)};

  if (!result.class_error && !result.tag_error) {
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
      result.class_error.error = err;
    } else if ((err = env->RenameFile(tag_temp, tag_target)) != 0) {
      result.tag_error.error = err;
      if (displaced) {
        env->RenameFile(class_temp, class_target);
      } else if (!existed) {
        env->RemoveFile(class_target);
      }
    } else {
      result.classes_written = true;
      result.tags_written = true;
      // The files are in place; a folder that cannot be synced changes
      // nothing about that, so it is not reported.
      env->SyncDirectory(folder);
    }
  }
  // What is left: the temporaries of a failed run, or the class.lst that
  // was exchanged out.
  env->RemoveFile(class_temp);
  env->RemoveFile(tag_temp);
  return result;
}

}  // namespace junctra
