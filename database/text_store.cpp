#include "database/text_store.h"

#include <new>

#include "platform/env.h"

namespace junctra {

TextStore::Block TextStore::NewBlock(std::size_t chars) {
  void* memory = AllocateLargeBlock(chars * sizeof(char16_t));
  if (memory == nullptr) throw std::bad_alloc();
  return Block(static_cast<char16_t*>(memory));
}

}  // namespace junctra
