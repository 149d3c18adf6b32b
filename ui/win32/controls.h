// What the Win32 dialogs add to their templates' controls: the common
// controls library, loaded only once a dialog needs it; controls of another
// kind in place of a template's; and the tooltips.
#pragma once

#include <string>

#include "ui/win32/win32.h"

namespace junctra {

// Loads the common controls and registers the classes (ICC_* flags). Not
// linked at start: the library's start-up makes window-system objects, which
// batch use must not (under Wine that starts its desktop process, which then
// holds a redirected standard error open). False when it cannot be loaded.
bool LoadCommonControls(DWORD classes);

// Puts a new control of window_class and style in place of the dialog's
// control id: the same ID, rectangle, extended style, font and place in the
// tab order. For what the templates, which other toolkits share, cannot
// say. Null, and the old control kept, when it cannot be made.
HWND ReplaceControl(HWND dialog, int id, const wchar_t* window_class, DWORD style);

// The tooltips of a dialog's controls, each the control's whole text,
// wrapped at half the width of the screen rather than running off it.
class Tooltips {
 public:
  // Forgets the window of an earlier run, which went with its dialog.
  void Reset() { window_ = nullptr; }
  // Gives control the tooltip text; empty text takes it away.
  void Set(HWND dialog, HWND control, const std::wstring& text);

 private:
  HWND window_ = nullptr;  // owned by the dialog, so destroyed with it
};

}  // namespace junctra
