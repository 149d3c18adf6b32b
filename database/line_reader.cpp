#include "database/line_reader.h"

#include <algorithm>

namespace junctra {

LineReader::LineReader(CTAVStdioFile* file, std::uint32_t nMax)
    : file_(file), max_(nMax), buffer_(nMax) {}

bool LineReader::NextPiece(std::u16string_view* piece) {
  const char16_t* text = file_->ReadString(buffer_.data(), max_);
  // Text skipped after a NUL was on the line this piece belongs to.
  if (!nul_seen_ && file_->SkippedTextAfterNul()) {
    nul_seen_ = true;
    Refuse(next_line_number_);
  }
  if (text == nullptr) return false;
  *piece = std::u16string_view(text, file_->GetLastReadLength());
  return true;
}

bool LineReader::ReadHeader() {
  if (!ReadPiece()) return false;
  if (!line_.empty() && line_.back() == u'\n') return true;
  const std::u16string header(line_);
  std::u16string_view next;
  if (NextPiece(&next)) {
    Refuse(1);
  } else if (file_->SawCarriageReturn() || header.find_first_of(u"\u0A00\u0D00") != header.npos) {
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
  joined_.assign(line_);
  std::u16string_view piece;
  while (NextPiece(&piece)) {
    joined_ += piece;
    if (!piece.empty() && piece.back() == u'\n') {
      ++next_line_number_;
      break;
    }
  }
  line_ = joined_;
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
