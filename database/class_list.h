// The classes of one class.lst: named record types with ordered members.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "database/line_reader.h"
#include "database/load_report.h"
#include "platform/env.h"

namespace junctra {

// One class definition: three parallel member lists of equal length. The
// class's name is kept by the owning list.
struct CClassInfo {
  std::vector<std::u16string> m_memberNames;
  std::vector<std::uint16_t> m_memberTypes;
  std::vector<std::u16string> m_memberTexts;

  // Differs from other beyond the case of A to Z in names and texts.
  bool IsDifferent(const CClassInfo& other) const;
};

class CClassList {
 public:
  // Parallel lists: entry i of one belongs to entry i of the other.
  std::vector<std::u16string> m_classNames;
  std::vector<CClassInfo> m_classInfos;

  // Appends the classes of the file at path. A file that cannot be opened
  // leaves the list as it was.
  void LoadClassFile(const std::filesystem::path& path, LoadReport* report = nullptr,
                     Env* env = Env::Default());
  // Creates or replaces the file; false when it cannot be created. Write
  // errors throw CFileException.
  bool SaveClassFile(const std::filesystem::path& path, Env* env = Env::Default()) const;

  void AddClass(std::u16string name, CClassInfo info) {
    m_classNames.push_back(std::move(name));
    m_classInfos.push_back(std::move(info));
  }

 private:
  void ReadClasses(LineReader& reader);
};

}  // namespace junctra
