// Interruptions on Windows: Ctrl+C, Ctrl+Break and closing the console, as
// the console program sees them. The system calls the handler on a thread
// of its own.
#include <windows.h>

#include "platform/interrupt.h"

namespace junctra {
namespace {

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
    RemoveFilesOnInterrupt();
  }
  return FALSE;  // the system's default handler ends the process
}

}  // namespace

namespace interrupt_system {

void InstallHandlers() { ::SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

// The handler runs on a thread of its own and waits for deferred steps.
void HoldInThisThread(bool) {}

void AwaitEnd() {
  for (;;) ::Sleep(INFINITE);
}

// The temporaries are open for deletion by others: an open one goes when
// its handle is closed, at the latest when the process ends.
void RemoveFile(const wchar_t* name) { ::DeleteFileW(name); }

}  // namespace interrupt_system
}  // namespace junctra
