#include "platform/interrupt.h"

#include <algorithm>
#include <atomic>

namespace junctra {
namespace {

// The handlers only look at these atomics and at names filled before.
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int kSlots = 8;
constexpr std::size_t kNameLength = 4096;

enum SlotState : int { kFree, kFilling, kReady, kRemoving };

struct Slot {
  std::atomic<int> state{kFree};
  std::filesystem::path::value_type name[kNameLength];
};

Slot g_slots[kSlots];

// 0: open; 1: deferred steps run; -1: an interruption is ending the process.
std::atomic<int> g_gate{0};

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(const std::filesystem::path& path) : slot_(-1) {
  static const bool installed = (interrupt_system::InstallHandlers(), true);
  (void)installed;
  const auto& name = path.native();
  if (name.size() >= kNameLength) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    *std::copy(name.begin(), name.end(), g_slots[i].name) = 0;
    g_slots[i].state.store(kReady);
    slot_ = i;
    return;
  }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
  if (slot_ < 0) return;
  // A slot a handler is removing stays taken: the process is ending.
  int expected = kReady;
  g_slots[slot_].state.compare_exchange_strong(expected, kFree);
}

InterruptsDeferred::InterruptsDeferred() {
  interrupt_system::HoldInThisThread(true);
  int expected = 0;
  while (!g_gate.compare_exchange_weak(expected, 1)) {
    if (expected == -1) interrupt_system::AwaitEnd();
    expected = 0;
  }
}

InterruptsDeferred::~InterruptsDeferred() {
  g_gate.store(0);
  interrupt_system::HoldInThisThread(false);
}

void RemoveFilesOnInterrupt() {
  // Deferred steps run on another thread (this one holds interruptions
  // back while it runs them); they are short.
  int expected = 0;
  while (!g_gate.compare_exchange_weak(expected, -1) && expected != -1) expected = 0;
  for (Slot& slot : g_slots) {
    int ready = kReady;
    if (slot.state.compare_exchange_strong(ready, kRemoving))
      interrupt_system::RemoveFile(slot.name);
  }
}

}  // namespace junctra
