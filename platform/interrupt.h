// Interrupted runs: SIGINT, SIGTERM and SIGHUP, on Windows Ctrl+C,
// Ctrl+Break and closing the console. The files registered here are removed
// first; then the process ends as the interruption ends it (POSIX: by the
// same signal, default disposition restored; Windows: the system's default
// handler). An interruption the process ignored from its start stays
// ignored.
#pragma once

#include <filesystem>

namespace junctra {

// Registers path for removal while it lives. A path too long for the
// registry, or one more than it holds, is not removed.
class RemovedOnInterrupt {
 public:
  explicit RemovedOnInterrupt(const std::filesystem::path& path);
  ~RemovedOnInterrupt();
  RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
  RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

 private:
  int slot_;  // -1: not registered
};

// While one lives, an interruption waits until it is gone, so that the
// steps in between (making a file and registering it, two renames that
// belong together) are done completely or not at all. One at a time.
class InterruptsDeferred {
 public:
  InterruptsDeferred();
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};

// Between the shared registry (interrupt.cpp) and each system's handlers.
namespace interrupt_system {
// Installs the handlers; called once, by the first registration.
void InstallHandlers();
// Holds interruptions back from this thread, or lets them through again.
void HoldInThisThread(bool hold);
// Never returns: an interruption on another thread is ending the process.
[[noreturn]] void AwaitEnd();
// Removes a file; may run inside a signal handler.
void RemoveFile(const std::filesystem::path::value_type* name);
}  // namespace interrupt_system

// For the handlers: waits until no deferred steps run, keeps any new ones
// from starting and removes every registered file.
void RemoveFilesOnInterrupt();

}  // namespace junctra
