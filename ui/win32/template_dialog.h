// A modal dialog from a dialog template of the current resource module, in
// the shape of a Windows framework dialog: DoModal runs OnInitDialog and the
// modal loop, button 1 (OK, Return) ends it with 1, button 2 (Cancel,
// Escape, the close button) with 2. It opens centred on its owner, or on the
// screen when it has none.
#pragma once

#include "ui/win32/win32.h"

namespace junctra {

class TemplateDialog {
 public:
  // owner may be null.
  TemplateDialog(unsigned template_id, HWND owner) : template_id_(template_id), owner_(owner) {}
  virtual ~TemplateDialog() = default;
  TemplateDialog(const TemplateDialog&) = delete;
  TemplateDialog& operator=(const TemplateDialog&) = delete;

  // Returns the value given to EndDialog, or -1 when the dialog cannot be
  // created.
  INT_PTR DoModal();
  // Null outside the modal run.
  HWND hwnd() const { return hwnd_; }

 protected:
  // True lets the system put the focus on the first control that takes it.
  virtual bool OnInitDialog() { return true; }
  // A command from a control; OK and Cancel end the dialog with their IDs.
  virtual void OnCommand(int id, int notification);
  // Any other message. True when handled, with the dialog procedure's
  // return value in *result; false leaves it to the system's dialog
  // handling.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR* result);

  void EndDialog(INT_PTR result) { ::EndDialog(hwnd_, result); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  unsigned template_id_;
  HWND owner_;
  HWND hwnd_ = nullptr;
};

// The module to load a resource from: the current resource module (a
// satellite when one is loaded) when it holds the resource, else the
// program's own.
HINSTANCE ModuleWithResource(LPCWSTR type, unsigned id);

}  // namespace junctra
