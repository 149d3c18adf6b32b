#include "ui/win32/error_dlg.h"

#include <algorithm>
#include <cstring>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "ui/win32/win32_text.h"

namespace junctra {
namespace {

// The widest line in the list's font: the list scrolls sideways only as far
// as it is told.
int WidestLine(HWND list, const ConflictList& conflicts) {
  HDC dc = GetDC(list);
  HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const Conflict& conflict : conflicts) {
    const std::wstring text = ToWide(conflict.line);
    SIZE size;
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) {
      widest = std::max(widest, static_cast<int>(size.cx));
    }
  }
  SelectObject(dc, old_font);
  ReleaseDC(list, dc);
  return widest;
}

// Shows text in the pane with [begin, end) selected and in view; the panes
// keep their selection shown without the focus.
void ShowMarked(HWND pane, const std::u16string& text, std::size_t begin, std::size_t end) {
  SetWindowTextW(pane, ToWide(text).c_str());
  SendMessageW(pane, EM_SETSEL, begin, end);
  SendMessageW(pane, EM_SCROLLCARET, 0, 0);
}

// Replaces the clipboard's content with text.
void PutOnClipboard(HWND owner, const std::u16string& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
    if (OpenClipboard(owner)) {
      EmptyClipboard();
      // Once set, the memory is the clipboard's.
      if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) memory = nullptr;
      CloseClipboard();
    }
  }
  if (memory != nullptr) GlobalFree(memory);
}

}  // namespace

CErrorDlg::CErrorDlg(const ConflictList& conflicts, HWND owner)
    : TemplateDialog(IDD_ERROR_DIALOG, owner), logic_(conflicts, *this, u"\r\n") {}

bool CErrorDlg::OnInitDialog() {
  HWND list = GetDlgItem(hwnd(), IDC_ERRORS);
  if (list == nullptr) return true;
  for (const Conflict& conflict : logic_.conflicts()) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(conflict.line).c_str()));
  }
  // A little room after the end, as after the beginning.
  SendMessageW(list, LB_SETHORIZONTALEXTENT, WidestLine(list, logic_.conflicts()) + 6, 0);
  if (!logic_.conflicts().empty()) {
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    logic_.OnSelect(0);
  }
  return true;
}

void CErrorDlg::OnCommand(int id, int notification) {
  if (id == IDC_ERRORS && notification == LBN_SELCHANGE) {
    logic_.OnSelect(SendDlgItemMessageW(hwnd(), IDC_ERRORS, LB_GETCURSEL, 0, 0));
  } else if (id == IDC_COPY && notification == BN_CLICKED) {
    logic_.OnCopy();
  } else {
    TemplateDialog::OnCommand(id, notification);
  }
}

bool CErrorDlg::OnMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR* result) {
  // Keys in the list: Ctrl+C copies the report, not only the current line.
  if (message != WM_VKEYTOITEM) return false;
  if (LOWORD(wparam) == 'C' && GetKeyState(VK_CONTROL) < 0) {
    logic_.OnCopy();
    *result = -2;  // handled
  } else {
    *result = -1;  // the list's own handling
  }
  return true;
}

void CErrorDlg::ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) {
  SetDlgItemTextW(hwnd(), IDC_DETAIL_PART, ToWide(detail.part).c_str());
  ShowMarked(GetDlgItem(hwnd(), IDC_DETAIL_FIRST), detail.first, mark.begin, mark.first_end);
  ShowMarked(GetDlgItem(hwnd(), IDC_DETAIL_SECOND), detail.second, mark.begin, mark.second_end);
}

void CErrorDlg::SetClipboardText(const std::u16string& text) { PutOnClipboard(hwnd(), text); }

}  // namespace junctra
