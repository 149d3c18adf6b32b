#include "database/class_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "database/line_reader.h"
#include "database/line_writer.h"
#include "database/tav_stdio_file.h"
#include "platform/text.h"

namespace junctra {
namespace {

constexpr std::uint32_t kReadLimit = 1024;
constexpr std::u16string_view kClassPrefix = u"Class:";
constexpr std::u16string_view kHeader = u"V4.x - CLASS LIST\n";

std::u16string_view WithoutLineFeed(std::u16string_view text) {
  if (!text.empty() && text.back() == u'\n') text.remove_suffix(1);
  return text;
}

// "Class:" and the name, cut at its line feed and trimmed.
std::u16string_view ClassName(std::u16string_view line) {
  std::u16string_view name = line.substr(kClassPrefix.size());
  name = name.substr(0, name.find(u'\n'));
  return Trim(name);
}

// A member line: fields are the non-empty runs between "|" separators; the
// line feed belongs to the last one. Missing fields are completed with type
// number 0 and empty text so that the three lists keep equal length.
void AddMember(std::u16string_view line, CClassInfo& info) {
  std::array<std::u16string_view, 4> fields;
  std::size_t count = 0;
  std::size_t i = 0;
  while (count < fields.size()) {
    while (i < line.size() && line[i] == u'|') ++i;
    if (i == line.size()) break;
    const std::size_t end = std::min(line.find(u'|', i), line.size());
    fields[count++] = line.substr(i, end - i);
    i = end;
  }
  if (count == 0) return;
  if (count < fields.size()) fields[count - 1] = WithoutLineFeed(fields[count - 1]);
  // Separators and a line feed alone ("|\n"): no name, so no member; the
  // writer could not write one back.
  if (fields[0].empty()) return;
  info.m_memberNames.push_back(fields[0]);
  info.m_memberTypes.push_back(
      count >= 3 ? static_cast<std::uint16_t>(ParseDecimal(fields[2]) & 0xFFFF) : 0);
  info.m_memberTexts.push_back(count >= 4 ? WithoutLineFeed(fields[3]) : std::u16string_view());
}

}  // namespace

void CClassList::LoadClassFile(const std::filesystem::path& path, LoadReport* report, Env* env) {
  LineReader::Load(path, kReadLimit, &m_texts, env, report,
                   [&](LineReader& reader) { ReadClasses(reader); });
}

// Every way out reaches the end of the file, unless the line after the
// header is not a class line; then only blank lines may follow it.
void CClassList::ReadClasses(LineReader& reader) {
  if (!reader.ReadHeader() || !reader.ReadLine()) return;  // the header's text is not checked
  if (!reader.line().starts_with(kClassPrefix)) {
    if (IsBlankLine(reader.line())) {
      reader.OnlyBlankLinesLeft();
    } else {
      reader.Refuse(reader.line_number());
    }
    return;
  }
  bool more = true;
  while (more) {
    AddClass(ClassName(reader.line()), CClassInfo());
    CClassInfo& info = m_classInfos.back();
    while ((more = reader.ReadLine())) {
      const std::u16string_view line = reader.line();
      if (line.starts_with(kClassPrefix)) break;
      if (line.empty() || line.front() == u'\n') continue;
      AddMember(line, info);
    }
  }
}

bool CClassList::SaveClassFile(const std::filesystem::path& path, Env* env, int* open_error) const {
  CTAVStdioFile file(env);
  if (!file.Open(path,
                 CFile::typeText | CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
    if (open_error != nullptr) *open_error = file.GetOpenError();
    return false;
  }
  file.WriteString(kHeader);
  LineWriter line(file);
  for (std::size_t i = 0; i < m_classNames.size(); ++i) {
    line << kClassPrefix << m_classNames[i] << u"\n";
    line.Flush();
    if (i >= m_classInfos.size()) continue;
    const CClassInfo& info = m_classInfos[i];
    for (std::size_t j = 0; j < info.m_memberNames.size(); ++j) {
      if (info.m_memberNames[j].empty()) continue;
      // A name read from "|Class:x|..." would be written as a class line;
      // the separator in front, which the reader skips, keeps it a member.
      if (info.m_memberNames[j].starts_with(kClassPrefix)) line << u"|";
      line << info.m_memberNames[j] << u"|0|"
           << std::int64_t{j < info.m_memberTypes.size() ? info.m_memberTypes[j] : 0} << u"|";
      if (j < info.m_memberTexts.size()) line << info.m_memberTexts[j];
      line << u"\n";
      line.Flush();
    }
  }
  file.Close();
  return true;
}

}  // namespace junctra
