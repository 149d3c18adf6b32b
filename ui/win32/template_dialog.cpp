#include "ui/win32/template_dialog.h"

#include "platform/resource_module.h"
#include "ui/dialog_result.h"
#include "ui/win32/window_placement.h"

namespace junctra {

INT_PTR TemplateDialog::DoModal() {
  const INT_PTR result =
      DialogBoxParamW(ModuleWithResource(RT_DIALOG, template_id_), MAKEINTRESOURCEW(template_id_),
                      owner_, &TemplateDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return result;
}

// The system's button IDs are the shared results.
static_assert(IDOK == kDialogOk && IDCANCEL == kDialogCancel);

void TemplateDialog::OnCommand(int id, int) {
  if (id == IDOK) {
    EndDialog(kDialogOk);
  } else if (id == IDCANCEL) {
    EndDialog(kDialogCancel);
  }
}

bool TemplateDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

INT_PTR CALLBACK TemplateDialog::DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<TemplateDialog*>(lparam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    dialog->hwnd_ = hwnd;
    const bool default_focus = dialog->OnInitDialog();
    // Placed once it has its final size; shown only after this.
    CentreWindow(hwnd, dialog->owner_);
    return default_focus ? TRUE : FALSE;
  }
  // Null for the few messages that come before WM_INITDIALOG.
  auto* dialog = reinterpret_cast<TemplateDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  if (message == WM_COMMAND) {
    dialog->OnCommand(LOWORD(wparam), HIWORD(wparam));
    return TRUE;
  }
  INT_PTR result = FALSE;
  return dialog->OnMessage(message, wparam, lparam, &result) ? result : FALSE;
}

HINSTANCE ModuleWithResource(LPCWSTR type, unsigned id) {
  auto current = static_cast<HINSTANCE>(CurrentResourceModule().native_handle());
  if (current != nullptr && FindResourceW(current, MAKEINTRESOURCEW(id), type) != nullptr) {
    return current;
  }
  return GetModuleHandleW(nullptr);
}

}  // namespace junctra
