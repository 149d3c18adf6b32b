// The text that records point into: the decoded text of the files a list
// was read from, text kept for records made in memory, and the text of the
// lists whose records it took over. Blocks never move, so a view into one
// stays valid for as long as the store that holds it, moves included.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace junctra {

class TextStore {
 public:
  struct Free {
    void operator()(char16_t* block) const { std::free(block); }
  };
  using Block = std::unique_ptr<char16_t[], Free>;

  // A block of chars characters, not initialised; large ones come from
  // AllocateLargeBlock. Throws std::bad_alloc when there is no memory.
  static Block NewBlock(std::size_t chars);

  TextStore() = default;
  TextStore(TextStore&&) = default;
  TextStore& operator=(TextStore&&) = default;

  // Keeps block; returns its memory.
  char16_t* Add(Block block) {
    blocks_.push_back(std::move(block));
    return blocks_.back().get();
  }
  // A copy of text, kept here.
  std::u16string_view Keep(std::u16string_view text) {
    Block block = NewBlock(text.size());
    text.copy(block.get(), text.size());
    return {Add(std::move(block)), text.size()};
  }
  // Takes over every block of other, whose views then stay valid as long
  // as this store.
  void Adopt(TextStore&& other) {
    for (Block& block : other.blocks_) blocks_.push_back(std::move(block));
    other.blocks_.clear();
  }

 private:
  std::vector<Block> blocks_;
};

}  // namespace junctra
