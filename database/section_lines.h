// The lines of one section of a tag, kept as one stretch of text. Its
// lines are the pieces the reader delivered: each ends after a line feed,
// after kPieceLength characters without one (a longer line is read in
// pieces), or where the text ends. Kept whole, a section costs no memory
// per line and compares and writes in one step.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>

namespace junctra {

class SectionLines {
 public:
  // The longest piece: the tag list's read limit less one.
  static constexpr std::size_t kPieceLength = 1022;

  SectionLines() = default;
  explicit SectionLines(std::u16string_view text) : text_(text) {}

  std::u16string_view text() const { return text_; }
  bool empty() const { return text_.empty(); }

  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::u16string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::u16string_view*;
    using reference = std::u16string_view;

    Iterator() = default;
    explicit Iterator(std::u16string_view rest) : rest_(rest), line_(FirstLine(rest)) {}
    std::u16string_view operator*() const { return line_; }
    Iterator& operator++() {
      rest_.remove_prefix(line_.size());
      line_ = FirstLine(rest_);
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    // Between iterators of one section.
    bool operator==(const Iterator& other) const { return rest_.size() == other.rest_.size(); }

   private:
    static std::u16string_view FirstLine(std::u16string_view text) {
      const std::u16string_view piece = text.substr(0, kPieceLength);
      const std::size_t feed = piece.find(u'\n');
      return feed == piece.npos ? piece : piece.substr(0, feed + 1);
    }

    std::u16string_view rest_;
    std::u16string_view line_;
  };

  Iterator begin() const { return Iterator(text_); }
  Iterator end() const { return Iterator(text_.substr(text_.size())); }

 private:
  std::u16string_view text_;
};

}  // namespace junctra
