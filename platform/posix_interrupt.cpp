// Interruptions on POSIX: SIGINT, SIGTERM and SIGHUP.
#include <signal.h>
#include <unistd.h>

#include "platform/interrupt.h"

namespace junctra {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t Signals() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : kSignals) sigaddset(&set, sig);
  return set;
}

// What HoldInThisThread(true) replaced; one hold at a time.
sigset_t g_held_mask;

void OnInterrupt(int sig) {
  RemoveFilesOnInterrupt();
  // Ends the process as the signal would have: it is blocked here and
  // arrives, with the default action, as soon as the handler returns.
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
  raise(sig);
}

}  // namespace

namespace interrupt_system {

void InstallHandlers() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  action.sa_mask = Signals();
  action.sa_flags = SA_RESTART;
  for (int sig : kSignals) {
    // A signal ignored or handled by someone else stays so (nohup, a
    // shell's background job).
    struct sigaction old = {};
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_DFL &&
        (old.sa_flags & SA_SIGINFO) == 0) {
      sigaction(sig, &action, nullptr);
    }
  }
}

void HoldInThisThread(bool hold) {
  if (hold) {
    const sigset_t set = Signals();
    pthread_sigmask(SIG_BLOCK, &set, &g_held_mask);
  } else {
    pthread_sigmask(SIG_SETMASK, &g_held_mask, nullptr);
  }
}

void AwaitEnd() {
  for (;;) pause();
}

void RemoveFile(const char* name) { unlink(name); }

}  // namespace interrupt_system
}  // namespace junctra
