// The tags of one tagl.txt.
#pragma once

#include <filesystem>

#include "database/load_report.h"
#include "database/tag_map.h"
#include "database/text_store.h"
#include "platform/env.h"

namespace junctra {

class LineReader;

class CTagList {
 public:
  TagMap m_tags;
  // The text that the names and records of m_tags point into.
  TextStore m_texts;

  // Adds the tags of the file at path. Returns the format's result, false
  // when the file cannot be opened or read; the tags read before a failure
  // stay in the map. Read errors go into the report.
  bool LoadTagFile(const std::filesystem::path& path, LoadReport* report = nullptr,
                   Env* env = Env::Default());
  // Creates or replaces the file; false when it cannot be created, with the
  // system's reason in *open_error when given. Write errors throw
  // CFileException.
  bool SaveTagFile(const std::filesystem::path& path, Env* env = Env::Default(),
                   int* open_error = nullptr) const;

 private:
  bool ReadTags(LineReader& reader);
};

}  // namespace junctra
