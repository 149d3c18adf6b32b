#include "database/ordered_blocks.h"

#include <array>
#include <condition_variable>
#include <mutex>

namespace junctra {
namespace {

// Blocks encoded ahead of the one being written, at most.
constexpr std::size_t kSlots = 4;

class Pipeline {
 public:
  Pipeline(std::size_t count, const std::function<bool(std::size_t, EncodedText&)>& encode,
           const std::function<void(std::size_t, const EncodedText*)>& write)
      : count_(count), encode_(encode), write_(write) {}

  // What each thread does: writes the next block when it is ready and no
  // one else writes, else encodes the next one there is room for.
  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!failed_ && written_ < count_) {
      Slot& next = slots_[written_ % kSlots];
      if (!writing_ && next.ready) {
        writing_ = true;
        Unlocked(lock, [&] { write_(written_, next.encoded ? &next.text : nullptr); });
        next.ready = false;
        writing_ = false;
        ++written_;
      } else if (claimed_ < count_ && claimed_ < written_ + kSlots) {
        const std::size_t block = claimed_++;
        Slot& slot = slots_[block % kSlots];
        Unlocked(lock, [&] {
          slot.text.Clear();
          slot.encoded = encode_(block, slot.text);
          if (!slot.encoded) slot.text.Clear();
        });
        slot.ready = true;
      } else {
        changed_.wait(lock);
        continue;
      }
      changed_.notify_all();
    }
  }

 private:
  struct Slot {
    EncodedText text;
    bool encoded = false;
    bool ready = false;
  };

  // Runs step without the lock; what it throws stops every thread.
  template <class Step>
  void Unlocked(std::unique_lock<std::mutex>& lock, Step step) {
    lock.unlock();
    try {
      step();
    } catch (...) {
      lock.lock();
      failed_ = true;
      changed_.notify_all();
      throw;
    }
    lock.lock();
  }

  const std::size_t count_;
  const std::function<bool(std::size_t, EncodedText&)>& encode_;
  const std::function<void(std::size_t, const EncodedText*)>& write_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::array<Slot, kSlots> slots_;
  std::size_t claimed_ = 0;  // blocks below it are encoded or being encoded
  std::size_t written_ = 0;
  bool writing_ = false;
  bool failed_ = false;
};

}  // namespace

void EncodeInOrder(std::size_t count, Env* env,
                   const std::function<bool(std::size_t, EncodedText&)>& encode,
                   const std::function<void(std::size_t, const EncodedText*)>& write) {
  Pipeline pipeline(count, encode, write);
  const std::function<void()> work = [&pipeline] { pipeline.Work(); };
  env->RunTasks({work, work});
}

}  // namespace junctra
