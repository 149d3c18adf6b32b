#include "ui/win32/controls.h"

#include <commctrl.h>

namespace junctra {

bool LoadCommonControls(DWORD classes) {
  // Kept for the process's life, as a linked library would be. With the
  // program's manifest this is version 6.
  static const HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (library == nullptr) return false;
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = reinterpret_cast<Init>(
      reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX request = {sizeof request, classes};
  return init != nullptr && init(&request);
}

HWND ReplaceControl(HWND dialog, int id, const wchar_t* window_class, DWORD style) {
  HWND old = GetDlgItem(dialog, id);
  if (old == nullptr) return nullptr;
  RECT place;
  GetWindowRect(old, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  HWND control = CreateWindowExW(
      static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE)), window_class, nullptr,
      style | WS_CHILD, place.left, place.top, place.right - place.left, place.bottom - place.top,
      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
  if (control == nullptr) return nullptr;
  SendMessageW(control, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
  // Right after the old one in the tab order, which is the windows' order.
  SetWindowPos(control, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(old);
  return control;
}

void Tooltips::Set(HWND dialog, HWND control, const std::wstring& text) {
  if (window_ == nullptr) {
    if (text.empty() || !LoadCommonControls(ICC_BAR_CLASSES)) return;
    window_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return;
    // A width makes the tooltip wrap its text, a long path too.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, (monitor.rcWork.right - monitor.rcWork.left) / 2);
  }
  // The tool information every version of the control takes.
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(window_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (text.empty()) return;
  tool.lpszText = const_cast<wchar_t*>(text.c_str());  // copied by the control
  SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace junctra
