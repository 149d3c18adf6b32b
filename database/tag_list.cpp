#include "database/tag_list.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

#include "database/line_reader.h"
#include "database/line_writer.h"
#include "database/ordered_blocks.h"
#include "database/tav_stdio_file.h"
#include "platform/text.h"

namespace junctra {
namespace {

constexpr std::uint32_t kReadLimit = SectionLines::kPieceLength + 1;
constexpr std::uint64_t kTypicalTagBytes = 512;
// Tags encoded as one block when saving: a few hundred kilobytes.
constexpr std::size_t kTagsPerBlock = 512;
// A block whose texts hold more characters than this is written straight
// to the file: encoded blocks take at most about a megabyte each.
constexpr std::size_t kBlockText = 256 * 1024;
constexpr std::u16string_view kHeader = u"//4.x - Application Tags\n";
constexpr std::u16string_view kParameters = u"#Parameters\n";
constexpr std::u16string_view kAlarm = u"#Alarm\n";
constexpr std::u16string_view kHistory = u"#History\n";

// The whole line, its "\n" included, equals the first characters of text.
bool IsPrefixOf(std::u16string_view line, std::u16string_view text) {
  return text.starts_with(line);
}

bool BeginsWithHash(std::u16string_view line) { return !line.empty() && line.front() == u'#'; }

bool EndsInLineFeed(std::u16string_view text) { return !text.empty() && text.back() == u'\n'; }

// The closing "#", possibly followed by blanks and its line end.
bool IsEndMark(std::u16string_view line) {
  return BeginsWithHash(line) && IsBlankLine(line.substr(1));
}

struct TagLine {
  std::u16string_view name;
  std::int32_t number = 0;
  std::int32_t type = 0;
  std::u16string_view rest;
};

// sequence|name|number|type[|rest]: the sequence number is ignored. False
// for a line with fewer than three "|", an empty first field or an empty
// name.
bool ParseTagLine(std::u16string_view line, TagLine* tag) {
  const std::size_t p1 = line.find(u'|');
  if (p1 == std::u16string_view::npos || p1 == 0) return false;
  const std::size_t p2 = line.find(u'|', p1 + 1);
  if (p2 == std::u16string_view::npos || p2 == p1 + 1) return false;
  const std::size_t p3 = line.find(u'|', p2 + 1);
  if (p3 == std::u16string_view::npos) return false;
  const std::size_t p4 = line.find(u'|', p3 + 1);
  tag->name = line.substr(p1 + 1, p2 - p1 - 1);
  tag->number = ParseDecimal(line.substr(p2 + 1, p3 - p2 - 1));
  tag->type = ParseDecimal(line.substr(p3 + 1, p4 == std::u16string_view::npos ? p4 : p4 - p3 - 1));
  tag->rest = p4 == std::u16string_view::npos ? std::u16string_view() : line.substr(p4);
  return true;
}

enum class SectionEnd { kHashLine, kFileEndEmpty, kFileEndInside };

// Takes section lines up to the next line that begins with "#": the pieces
// from the first to the last, one after another in the text. A last line
// that the end of the file cuts off is taken as though the file had ended
// with a line feed.
SectionEnd ReadSection(LineReader& reader, SectionLines& lines) {
  if (!reader.ReadPiece()) return SectionEnd::kFileEndEmpty;
  const char16_t* const begin = reader.line().data();
  const char16_t* end = begin;
  auto taken = [&] { return std::u16string_view(begin, static_cast<std::size_t>(end - begin)); };
  while (!BeginsWithHash(reader.line())) {
    end = reader.line().data() + reader.line().size();
    if (!reader.ReadPiece()) {
      lines = SectionLines(reader.EndWithLineFeed(taken()));
      return SectionEnd::kFileEndInside;
    }
  }
  lines = SectionLines(taken());
  return SectionEnd::kHashLine;
}

// The current line is refused: nothing from it on is taken.
bool Refused(LineReader& reader) {
  reader.Refuse(reader.line_number());
  return false;
}

// The file ends early at the current line, where a tag line was expected.
bool Finished(LineReader& reader) {
  if (!IsBlankLine(reader.line()) && !IsEndMark(reader.line())) {
    reader.Refuse(reader.line_number());
  } else {
    reader.OnlyBlankLinesLeft();
  }
  return true;
}

// Reads the three sections of a tag into record. Empty when the line after
// them is the next tag line; otherwise the load's result.
std::optional<bool> ReadSections(LineReader& reader, CDatabaseItem& record) {
  if (!reader.ReadPiece()) return true;
  if (!IsPrefixOf(reader.line(), kParameters)) return Refused(reader);
  struct Section {
    SectionLines* lines;
    std::u16string_view next_header;
  };
  const Section sections[] = {{&record.m_parameterLines, kAlarm},
                              {&record.m_alarmLines, kHistory},
                              {&record.m_historyLines, {}}};
  for (const Section& section : sections) {
    switch (ReadSection(reader, *section.lines)) {
      case SectionEnd::kFileEndEmpty:
        return true;
      case SectionEnd::kFileEndInside:
        return false;
      case SectionEnd::kHashLine:
        break;
    }
    if (!section.next_header.empty() && !IsPrefixOf(reader.line(), section.next_header)) {
      return Refused(reader);
    }
  }
  // A "#" line after the History section: the next tag line or the end.
  if (reader.line().size() <= 2) return Finished(reader);
  return std::nullopt;
}

}  // namespace

bool CTagList::LoadTagFile(const std::filesystem::path& path, LoadReport* report, Env* env) {
  bool result = false;
  LineReader::Load(path, kReadLimit, &m_texts, env, report, [&](LineReader& reader) {
    // Room in the index for a typical file's tags, to spare rehashing.
    m_tags.Reserve(reader.file_size() / kTypicalTagBytes);
    result = ReadTags(reader);
  });
  return result;
}

bool CTagList::ReadTags(LineReader& reader) {
  if (!reader.ReadHeader()) return true;  // its text is not checked
  if (!reader.ReadLine()) return true;
  for (;;) {
    const std::u16string_view line = reader.line();
    if (line.size() < 3) return Finished(reader);
    TagLine tag;
    if (!ParseTagLine(line, &tag)) return Refused(reader);
    // The name's place in the map's index is fetched from memory while the
    // sections are read, rather than waited for.
    const std::uint32_t hash = TagMap::HashOf(tag.name);
    m_tags.PrefetchLookup(hash);
    CDatabaseItem record;
    record.m_number = tag.number;
    record.m_type = tag.type;
    // Only the end of the file leaves a tag line without its line feed.
    record.m_rest = reader.EndWithLineFeed(tag.rest);
    std::optional<bool> result;
    try {
      result = ReadSections(reader, record);
    } catch (const CFileException&) {
      m_tags.SetAt(tag.name, record, hash);  // what was read stays, as on every way out
      throw;
    }
    m_tags.SetAt(tag.name, record, hash);
    if (result) return *result;
    reader.CompleteLine();
  }
}

bool CTagList::SaveTagFile(const std::filesystem::path& path, Env* env, int* open_error) const {
  CTAVStdioFile file(env);
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
    if (open_error != nullptr) *open_error = file.GetOpenError();
    return false;
  }
  file.WriteString(kHeader);
  // The section headers as bytes, made once rather than for every tag.
  const std::string headers[] = {CTAVStdioFile::Encode(kParameters), CTAVStdioFile::Encode(kAlarm),
                                 CTAVStdioFile::Encode(kHistory)};
  const std::vector<const TagMap::Entry*> order = m_tags.InIterationOrder();
  const auto write_tag = [&](TextOut& out, std::size_t i) {
    const TagMap::Entry& entry = *order[i];
    const CDatabaseItem& item = entry.item;
    LineWriter line(out);
    line << u"#" << static_cast<std::int64_t>(i + 1) << u"|" << entry.name << u"|"
         << std::int64_t{item.m_number} << u"|" << std::int64_t{item.m_type} << item.m_rest;
    // A tag line without rest keeps its line feed in the type field.
    if (!EndsInLineFeed(item.m_rest)) line << u"\n";
    line.Flush();
    // Section lines are written exactly as read, all in one: a piece without
    // line feed goes on the same line as whatever follows it, as it stood in
    // the file.
    const SectionLines* sections[] = {&item.m_parameterLines, &item.m_alarmLines,
                                      &item.m_historyLines};
    for (int s = 0; s < 3; ++s) {
      out.WriteBytes(headers[s]);
      out.WriteString(sections[s]->text());
    }
  };
  const auto block_tags = [&](std::size_t block) {
    const std::size_t begin = block * kTagsPerBlock;
    return std::pair(begin, std::min(order.size(), begin + kTagsPerBlock));
  };
  // Blocks of tags are encoded on both threads and written in order. A
  // block with long texts is left to the writing thread, which writes it
  // straight to the file: memory never holds a second copy of much text.
  const auto encode = [&](std::size_t block, EncodedText& out) {
    const auto [begin, end] = block_tags(block);
    std::size_t text = 0;
    for (std::size_t i = begin; i < end; ++i) {
      TagMap::FetchAhead(order, i, 3);
      text += TagMap::TextLength(*order[i]);
      if (text > kBlockText) return false;
      write_tag(out, i);
    }
    return true;
  };
  const auto write = [&](std::size_t block, const EncodedText* encoded) {
    if (encoded != nullptr) {
      file.WriteBytes(encoded->bytes());
      return;
    }
    const auto [begin, end] = block_tags(block);
    for (std::size_t i = begin; i < end; ++i) write_tag(file, i);
  };
  EncodeInOrder((order.size() + kTagsPerBlock - 1) / kTagsPerBlock, env, encode, write);
  const std::size_t sequence = order.size();
  if (sequence > 0) file.WriteString(u"#");
  file.Close();
  return true;
}

}  // namespace junctra
