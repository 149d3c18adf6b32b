#include "database/ordered_blocks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace junctra {
namespace {

// On two threads and on one, with blocks left to the writer and a write
// that fails: the blocks before it are written in order, none after it.
TEST(EncodeInOrderTest, WritesEveryBlockInOrderUntilOneFails) {
  EnvWrapper one_thread(Env::Default());
  for (Env* env : {Env::Default(), static_cast<Env*>(&one_thread)}) {
    for (std::size_t failing : {std::size_t{1000}, std::size_t{40}}) {
      const auto encode = [](std::size_t i, EncodedText& text) {
        if (i % 7 == 3) return false;
        text.WriteBytes(std::to_string(i) + ",");
        return true;
      };
      std::string written;
      const auto write = [&](std::size_t i, const EncodedText* text) {
        if (i == failing) throw std::runtime_error("disk full");
        written += text != nullptr ? std::string(text->bytes()) : "(" + std::to_string(i) + "),";
      };
      std::string expected;
      for (std::size_t i = 0; i < 100 && i < failing; ++i) {
        expected += i % 7 == 3 ? "(" + std::to_string(i) + ")," : std::to_string(i) + ",";
      }
      if (failing < 100) {
        EXPECT_THROW(EncodeInOrder(100, env, encode, write), std::runtime_error);
      } else {
        EncodeInOrder(100, env, encode, write);
      }
      EXPECT_EQ(written, expected);
    }
  }
}

}  // namespace
}  // namespace junctra
