// Writes the merged class list and tag list into the output folder so that
// existing files are never half replaced: both files are written to
// temporary files beside their targets, flushed to the device, and only when
// both are complete renamed over class.lst and tagl.txt, back to back.
// A replaced file's permissions and owner carry over; a read-only one is
// not replaced; a symbolic link is written through to the file it ends at,
// unless another user may have planted it in a shared folder.
// Runs that write into the same folder take turns: each holds an advisory
// lock on the folder from its first temporary file to its last rename.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "platform/env.h"

namespace junctra {

// Temporary files are named after their target, the process and a random
// number, with this suffix: "tagl.txt.4711-9f3a0c21.junctra-new". They
// never match a database file's name.
inline constexpr char kTemporarySuffix[] = ".junctra-new";

// How long a run waits while another one writes into the same folder
// (tests let it pass at once through their Env's clock).
inline constexpr std::chrono::milliseconds kFolderLockWait{60000};

// Why a file could not be saved: the file and the system's error.
struct SaveError {
  std::filesystem::path path;
  int error = 0;  // an errno value; 0: nothing failed
  // class.lst and tagl.txt end at this one file (error is EEXIST).
  bool same_file = false;
  explicit operator bool() const { return error != 0; }
};

struct WriteResult {
  // In place when the run ends.
  bool classes_written = false;
  bool tags_written = false;
  // Set for a file whose own step failed. A file held back only because
  // the other failed has none; every failed run has at least one, a
  // busy folder or an ambiguous name.
  SaveError class_error;
  SaveError tag_error;
  // Another run kept this folder locked for the whole wait; nothing was
  // written.
  std::filesystem::path busy_folder;
  // The folder holds two or more case variants of this file and not its
  // exact name; nothing was written.
  std::filesystem::path ambiguous;
  bool ok() const { return classes_written && tags_written; }
};

// folder ends in "/". On any failure neither target is touched and no
// temporary file of this run is left behind, nor when an exception passes
// or the process is interrupted. Two targets that end at one file are
// refused.
WriteResult WriteMergedDatabase(const std::filesystem::path& folder, const CClassList& classes,
                                const CTagList& tags, Env* env = Env::Default());

// A temporary file's name, of any run (this version's or an earlier one's
// "tagl.txt.junctra-new"), for class.lst or tagl.txt.
bool IsTemporaryName(std::string_view name);

}  // namespace junctra
