#include "database/line_reader.h"

#include <algorithm>

#include "database/load_report.h"

namespace junctra {

LineReader::LineReader(CTAVStdioFile* file, std::uint32_t nMax, TextStore* store)
    : text_(*file, nMax, *store) {}

bool LineReader::NextPiece(std::u16string_view* piece) {
  const bool read = text_.NextPiece(piece);
  // Text skipped after a NUL was on the line this piece belongs to.
  if (!nul_seen_ && text_.SkippedTextAfterNul()) {
    nul_seen_ = true;
    Refuse(next_line_number_);
  }
  return read;
}

bool LineReader::ReadHeader() {
  if (!ReadPiece()) return false;
  if (!line_.empty() && line_.back() == u'\n') return true;
  const std::u16string_view header = line_;
  std::u16string_view next;
  if (NextPiece(&next) || text_.SawCarriageReturn() ||
      header.find_first_of(u"\u0A00\u0D00") != header.npos) {
    Refuse(1);
  }
  return false;
}

bool LineReader::ReadPiece() {
  std::u16string_view piece;
  if (!NextPiece(&piece)) return false;
  line_ = piece;
  line_number_ = next_line_number_;
  if (!piece.empty() && piece.back() == u'\n') ++next_line_number_;
  return true;
}

void LineReader::CompleteLine() {
  if (line_.empty() || line_.back() == u'\n') return;
  std::u16string_view piece;
  while (NextPiece(&piece)) {
    // The pieces follow one another in the text: the line grows over them.
    line_ = std::u16string_view(line_.data(), line_.size() + piece.size());
    if (!piece.empty() && piece.back() == u'\n') {
      ++next_line_number_;
      break;
    }
  }
}

bool LineReader::OnlyBlankLinesLeft() {
  while (ReadPiece()) {
    if (!IsBlankLine(line_)) {
      Refuse(line_number_);
      return false;
    }
  }
  return true;
}

void LineReader::Refuse(std::size_t line) {
  refused_line_ = refused_line_ == 0 ? line : std::min(refused_line_, line);
}

void LineReader::Report(LoadReport& report) const {
  report.complete = refused_line_ == 0;
  report.first_unread_line = refused_line_;
}

bool IsBlankLine(std::u16string_view line) {
  for (const char16_t c : line) {
    if (c != u' ' && c != u'\t' && c != u'\n') return false;
  }
  return true;
}

}  // namespace junctra
