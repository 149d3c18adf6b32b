// What every system's Env does alike.
#include "platform/env.h"

#include <thread>

namespace junctra {

std::chrono::steady_clock::time_point Env::Now() { return std::chrono::steady_clock::now(); }

void Env::SleepFor(std::chrono::steady_clock::duration pause) {
  std::this_thread::sleep_for(pause);
}

}  // namespace junctra
