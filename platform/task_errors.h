// What every Env::RunTasks shares: each task's exception is kept, and once
// all have ended the first task's is thrown, whichever thread ran it.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <vector>

namespace junctra {

class TaskErrors {
 public:
  explicit TaskErrors(std::size_t count) : errors_(count) {}

  // Runs task i, keeping what it throws.
  void Run(std::size_t i, const std::function<void()>& task) noexcept {
    try {
      task();
    } catch (...) {
      errors_[i] = std::current_exception();
    }
  }
  // Throws what task i threw, if anything.
  void Rethrow(std::size_t i) const {
    if (errors_[i]) std::rethrow_exception(errors_[i]);
  }
  void RethrowFirst() const {
    for (std::size_t i = 0; i < errors_.size(); ++i) Rethrow(i);
  }

 private:
  std::vector<std::exception_ptr> errors_;
};

}  // namespace junctra
