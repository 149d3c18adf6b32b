// Writes the merged class list and tag list into the output folder so that
// existing files are never half replaced: both files are written to
// temporary files beside their targets, flushed to the device, and only when
// both are complete renamed over class.lst and tagl.txt, back to back.
#pragma once

#include <filesystem>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "platform/env.h"

namespace junctra {

// Temporary files carry this suffix; they never match a database file's name.
inline constexpr char kTemporarySuffix[] = ".junctra-new";

// Why a file could not be saved: the file and the system's error.
struct SaveError {
  std::filesystem::path path;
  int error = 0;  // an errno value; 0: nothing failed
  explicit operator bool() const { return error != 0; }
};

struct WriteResult {
  // In place when the run ends.
  bool classes_written = false;
  bool tags_written = false;
  // Set for a file whose own step failed. A file held back only because
  // the other one failed has none; every failed run has at least one.
  SaveError class_error;
  SaveError tag_error;
  bool ok() const { return classes_written && tags_written; }
};

// folder ends in "/". On any failure neither target is touched and no
// temporary file is left behind.
WriteResult WriteMergedDatabase(const std::filesystem::path& folder, const CClassList& classes,
                                const CTagList& tags, Env* env = Env::Default());

}  // namespace junctra
