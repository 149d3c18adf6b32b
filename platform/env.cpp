// What every system's Env does alike.
#include "platform/env.h"

#include <thread>

#include "platform/task_errors.h"

namespace junctra {

std::chrono::steady_clock::time_point Env::Now() { return std::chrono::steady_clock::now(); }

void Env::SleepFor(std::chrono::steady_clock::duration pause) {
  std::this_thread::sleep_for(pause);
}

void Env::RunTasks(const std::vector<std::function<void()>>& tasks) {
  TaskErrors errors(tasks.size());
  for (std::size_t i = 0; i < tasks.size(); ++i) errors.Run(i, tasks[i]);
  errors.RethrowFirst();
}

}  // namespace junctra
