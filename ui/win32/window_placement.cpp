#include "ui/win32/window_placement.h"

#include <algorithm>

namespace junctra {
namespace {

RECT WorkArea(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

// Moves window, whose rectangle is box, to left, top, or as near as keeps
// it inside area.
void MoveTo(HWND window, const RECT& box, LONG left, LONG top, const RECT& area) {
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  left = std::max(area.left, std::min(left, area.right - width));
  top = std::max(area.top, std::min(top, area.bottom - height));
  if (left == box.left && top == box.top) return;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void CentreWindow(HWND window, HWND owner) {
  const bool on_owner = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
  const RECT area = WorkArea(on_owner ? owner : window);
  RECT target = area;
  if (on_owner) GetWindowRect(owner, &target);
  RECT box;
  GetWindowRect(window, &box);
  MoveTo(window, box, target.left + (target.right - target.left - (box.right - box.left)) / 2,
         target.top + (target.bottom - target.top - (box.bottom - box.top)) / 2, area);
}

void KeepInWorkArea(HWND window) {
  RECT box;
  GetWindowRect(window, &box);
  MoveTo(window, box, box.left, box.top, WorkArea(window));
}

}  // namespace junctra
