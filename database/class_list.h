// The classes of one class.lst: named record types with ordered members.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "database/load_report.h"
#include "database/text_store.h"
#include "platform/env.h"

namespace junctra {

class LineReader;

// One class definition: three parallel member lists of equal length. The
// class's name is kept by the owning list; names and texts are views into
// the text that the owning list keeps.
struct CClassInfo {
  std::vector<std::u16string_view> m_memberNames;
  std::vector<std::uint16_t> m_memberTypes;
  std::vector<std::u16string_view> m_memberTexts;

  // Differs from other beyond the case of A to Z in names and texts.
  bool IsDifferent(const CClassInfo& other) const;
};

class CClassList {
 public:
  // Parallel lists: entry i of one belongs to entry i of the other.
  std::vector<std::u16string_view> m_classNames;
  std::vector<CClassInfo> m_classInfos;
  // The text that the names of both lists point into.
  TextStore m_texts;

  CClassList() = default;
  CClassList(CClassList&&) = default;
  CClassList& operator=(CClassList&&) = default;

  // Appends the classes of the file at path. A file that cannot be opened
  // leaves the list as it was. Read errors go into the report.
  void LoadClassFile(const std::filesystem::path& path, LoadReport* report = nullptr,
                     Env* env = Env::Default());
  // Creates or replaces the file; false when it cannot be created, with the
  // system's reason in *open_error when given. Write errors throw
  // CFileException.
  bool SaveClassFile(const std::filesystem::path& path, Env* env = Env::Default(),
                     int* open_error = nullptr) const;

  // name and the texts of info must stay valid as long as the list.
  void AddClass(std::u16string_view name, CClassInfo info) {
    m_classNames.push_back(name);
    m_classInfos.push_back(std::move(info));
  }

 private:
  void ReadClasses(LineReader& reader);
};

}  // namespace junctra
