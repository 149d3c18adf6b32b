#include "database/line_reader.h"

namespace junctra {

LineReader::LineReader(CTAVStdioFile* file, std::uint32_t nMax)
    : file_(file), max_(nMax), buffer_(nMax) {}

bool LineReader::NextPiece(std::u16string_view* piece) {
  const char16_t* text = file_->ReadString(buffer_.data(), max_);
  if (text == nullptr) return false;
  *piece = std::u16string_view(text, file_->GetLastReadLength());
  return true;
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

bool LineReader::OnlyBlankLinesLeft(std::size_t* first) {
  while (ReadPiece()) {
    if (!IsBlankLine(line_)) {
      *first = line_number_;
      return false;
    }
  }
  return true;
}

bool IsBlankLine(std::u16string_view line) {
  for (const char16_t c : line) {
    if (c != u' ' && c != u'\t' && c != u'\n') return false;
  }
  return true;
}

}  // namespace junctra
