// Drives the Win32 dialogs from outside, as a user would: finds their
// windows from a second thread or process and gives them keys and commands.
// Shared by the dialog tests and the screenshot helper.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/win32/dialog_services.h"
#include "ui/win32/win32.h"

namespace junctra {

// A folder browser that gives its answers in turn, then cancels.
class ScriptedChooser : public FolderChooser {
 public:
  bool BrowseForFolder(HWND, std::filesystem::path& result, const std::u16string&,
                       const std::filesystem::path& start, FolderUse) override {
    starts.push_back(start);
    if (answers.empty()) return false;
    result = answers.front();
    answers.pop_front();
    return true;
  }
  std::deque<std::filesystem::path> answers;
  std::vector<std::filesystem::path> starts;
};

// Through WM_GETTEXT, which also reaches controls of other processes.
inline std::wstring WindowText(HWND window) {
  std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

inline std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// The visible dialog windows of a process; of one of its threads unless
// thread is 0.
inline std::vector<HWND> Dialogs(DWORD process, DWORD thread = 0) {
  struct Search {
    DWORD process, thread;
    std::vector<HWND> found;
  } search{process, thread, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        DWORD process = 0;
        const DWORD thread = GetWindowThreadProcessId(window, &process);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (process == s->process && (s->thread == 0 || thread == s->thread) &&
            std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
          s->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// How long to wait for a window, in steps of 20 ms: a minute, since Wine's
// first start in a fresh prefix takes a while.
inline constexpr int kWaitSteps = 3000;

// Waits for a dialog of Dialogs(process, thread) that match accepts (any
// when match is empty); null when none comes.
inline HWND WaitForDialog(DWORD process, DWORD thread,
                          const std::function<bool(HWND)>& match = {}) {
  for (int i = 0; i < kWaitSteps; ++i, Sleep(20)) {
    for (HWND window : Dialogs(process, thread)) {
      if (!match || match(window)) return window;
    }
  }
  return nullptr;
}

inline std::function<bool(HWND)> CaptionIs(std::wstring caption) {
  return [caption](HWND window) { return WindowText(window) == caption; };
}

inline std::function<bool(HWND)> OwnedBy(HWND owner) {
  return [owner](HWND window) { return GetWindow(window, GW_OWNER) == owner; };
}

inline bool WaitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < kWaitSteps && !done(); ++i) Sleep(20);
  return done();
}

inline bool WaitUntilGone(HWND window) {
  return WaitUntil([window] { return !IsWindow(window); });
}

// As a key reaches a dialog's modal loop.
inline void Press(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

// Runs show on this thread, whose modal dialogs script drives from a second
// thread. Whatever the script leaves open is cancelled, so that a script
// that fails part way cannot hang its caller.
template <typename Show>
auto Driven(Show show, const std::function<void(DWORD process, DWORD thread)>& script) {
  const DWORD process = GetCurrentProcessId();
  const DWORD thread = GetCurrentThreadId();
  std::thread driver([&] {
    script(process, thread);
    for (int i = 0; i < 500 && !Dialogs(process, thread).empty(); ++i, Sleep(20)) {
      if (i < 100) continue;  // two seconds to close by themselves
      for (HWND window : Dialogs(process, thread)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
  });
  const auto result = show();
  driver.join();
  return result;
}

}  // namespace junctra
