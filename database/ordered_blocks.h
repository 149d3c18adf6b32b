// Output made in blocks on every thread a run has, and written in order:
// while one thread writes a block, the other encodes the next ones.
#pragma once

#include <cstddef>
#include <functional>

#include "database/tav_stdio_file.h"
#include "platform/env.h"

namespace junctra {

// Calls encode(i, text) for each block i below count, with text empty, and
// write(i, text) with each block's text in the order of i. encode may
// decline a block, such as one too large to hold in memory, by returning
// false: write(i, nullptr) then writes it itself. Blocks are encoded on the
// threads that env->RunTasks gives, a few ahead of the one being written;
// write is called on one thread at a time. What encode or write throws
// ends the work and is thrown here, with the blocks before that one
// written.
void EncodeInOrder(std::size_t count, Env* env,
                   const std::function<bool(std::size_t, EncodedText&)>& encode,
                   const std::function<void(std::size_t, const EncodedText*)>& write);

}  // namespace junctra
