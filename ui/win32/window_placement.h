// Where the dialogs appear: the main dialog in the middle of its screen,
// each other window in the middle of its owner, as Windows programs place
// them; and always wholly on the screen.
#pragma once

#include "ui/win32/win32.h"

namespace junctra {

// Centres window on owner, or on the work area of its monitor when owner is
// null, hidden or minimised; then keeps it inside that work area.
void CentreWindow(HWND window, HWND owner);

// Moves window, as little as it takes, into the work area of its monitor.
void KeepInWorkArea(HWND window);

}  // namespace junctra
