#include "ui/win32/error_dlg.h"

#include <algorithm>
#include <cstring>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "ui/dialog_result.h"
#include "ui/win32/controls.h"
#include "ui/win32/win32_text.h"

namespace junctra {
namespace {

// The widest of the texts in the list's font.
int WidestText(HWND list, const std::vector<std::wstring>& texts) {
  HDC dc = GetDC(list);
  HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::wstring& text : texts) {
    SIZE size;
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) {
      widest = std::max(widest, static_cast<int>(size.cx));
    }
  }
  SelectObject(dc, old_font);
  ReleaseDC(list, dc);
  return widest;
}

// Selects [begin, end) in the pane and scrolls it into view; the panes keep
// their selection shown without the focus.
void Mark(HWND pane, std::size_t begin, std::size_t end) {
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
  list_width_ = 0;
  // The panes wrap long texts and scroll down, where the template's keep
  // one line each, scrolled sideways.
  for (const int id : {IDC_DETAIL_FIRST, IDC_DETAIL_SECOND}) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(GetDlgItem(hwnd(), id), GWL_STYLE));
    ReplaceControl(hwnd(), id, L"EDIT", (style & ~(ES_AUTOHSCROLL | WS_HSCROLL)) | WS_VSCROLL);
  }
  logic_.OnInitDialog();
  if (!logic_.has_base()) {
    for (const int id : {IDC_DETAIL_BASE_LABEL, IDC_DETAIL_BASE}) {
      ShowWindow(GetDlgItem(hwnd(), id), SW_HIDE);
    }
  }
  HWND list = GetDlgItem(hwnd(), IDC_ERRORS);
  if (list == nullptr) return true;
  std::vector<std::wstring> lines;
  for (const Conflict& conflict : logic_.conflicts()) {
    lines.push_back(ToWide(conflict.line));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines.back().c_str()));
  }
  FitWidth(lines);
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
  } else if ((id == IDC_TAKE_FIRST || id == IDC_TAKE_SECOND) && notification == BN_CLICKED) {
    logic_.OnTake(id == IDC_TAKE_FIRST ? Side::kFirst : Side::kSecond);
    // Back to the list, whose arrow keys reach the next conflict.
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd(), IDC_ERRORS)),
                 TRUE);
  } else if (id == IDC_MERGE_DECIDED && notification == BN_CLICKED) {
    if (logic_.OnMergeDecided()) EndDialog(kDialogOk);
  } else if ((id == IDC_DETAIL_FIRST || id == IDC_DETAIL_SECOND) && notification == EN_SETFOCUS) {
    // Tab selects a whole edit as it enters; the difference stays marked.
    const auto& [begin, end] = marks_[id == IDC_DETAIL_FIRST ? 0 : 1];
    Mark(GetDlgItem(hwnd(), id), begin, end);
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
  marks_[0] = {mark.begin, mark.first_end};
  marks_[1] = {mark.begin, mark.second_end};
  const std::u16string* texts[] = {&detail.first, &detail.second};
  for (int pane = 0; pane < 2; ++pane) {
    HWND edit = GetDlgItem(hwnd(), pane == 0 ? IDC_DETAIL_FIRST : IDC_DETAIL_SECOND);
    SetWindowTextW(edit, ToWide(*texts[pane]).c_str());
    Mark(edit, marks_[pane].first, marks_[pane].second);
  }
  SetDlgItemTextW(hwnd(), IDC_DETAIL_BASE, ToWide(detail.base).c_str());
}

void CErrorDlg::SetClipboardText(const std::u16string& text) { PutOnClipboard(hwnd(), text); }

// A list box row's text is replaced by a new row in its place, selected
// again when it was.
void CErrorDlg::ShowRow(std::size_t row, const std::u16string& text) {
  HWND list = GetDlgItem(hwnd(), IDC_ERRORS);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  const std::wstring wide = ToWide(text);
  SendMessageW(list, LB_DELETESTRING, row, 0);
  SendMessageW(list, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(wide.c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  FitWidth({wide});
}

void CErrorDlg::EnableTake(bool enabled) {
  for (const int id : {IDC_TAKE_FIRST, IDC_TAKE_SECOND}) {
    EnableWindow(GetDlgItem(hwnd(), id), enabled ? TRUE : FALSE);
  }
}

void CErrorDlg::EnableMergeDecided(bool enabled) {
  EnableWindow(GetDlgItem(hwnd(), IDC_MERGE_DECIDED), enabled ? TRUE : FALSE);
}

void CErrorDlg::FitWidth(const std::vector<std::wstring>& texts) {
  HWND list = GetDlgItem(hwnd(), IDC_ERRORS);
  // A little room after the end, as after the beginning.
  const int width = WidestText(list, texts) + 6;
  if (width <= list_width_) return;
  list_width_ = width;
  SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

}  // namespace junctra
