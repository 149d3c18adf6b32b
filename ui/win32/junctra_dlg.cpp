#include "ui/win32/junctra_dlg.h"

#include <algorithm>
#include <utility>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "ui/win32/error_dlg.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/window_placement.h"

namespace junctra {

CJunctraDlg::CJunctraDlg(HWND owner, DialogServices services, Env* env)
    : TemplateDialog(IDD_JUNCTRA_DIALOG, owner),
      // Shared by the system: never destroyed.
      m_hIcon(LoadIconW(ModuleWithResource(RT_GROUP_ICON, IDR_MAINFRAME),
                        MAKEINTRESOURCEW(IDR_MAINFRAME))),
      services_(services),
      logic_(*this, env) {}

void CJunctraDlg::SetFolders(std::filesystem::path first, std::filesystem::path second) {
  logic_.SetFolders(std::move(first), std::move(second));
}

void CJunctraDlg::SetBase(std::filesystem::path base) { logic_.SetBase(std::move(base)); }

bool CJunctraDlg::OnInitDialog() {
  tooltips_.Reset();
  // The result line, a text in the template, becomes a borderless read-only
  // edit: its text can be selected and copied, and it wraps.
  HWND result = GetDlgItem(hwnd(), IDC_RESULT);
  RECT place = {};
  GetClientRect(result, &place);
  result_height_ = place.bottom;
  ReplaceControl(hwnd(), IDC_RESULT, L"EDIT",
                 WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL);
  if (HMENU menu = GetSystemMenu(hwnd(), FALSE)) {
    const std::u16string about = LoadResourceString(IDS_ABOUTBOX);
    if (!about.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, ToWide(about).c_str());
    }
  }
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  logic_.OnInitDialog();
  return true;
}

void CJunctraDlg::OnCommand(int id, int notification) {
  if (id == IDC_SELECT && notification == BN_CLICKED) {
    logic_.OnSelect();
  } else if (id == IDC_MERGE && notification == BN_CLICKED) {
    logic_.OnMerge();
  } else if (id == IDC_SELECT_BASE && notification == BN_CLICKED) {
    logic_.OnSelectBase();
  } else if (id == IDC_CLEAR_BASE && notification == BN_CLICKED) {
    logic_.OnClearBase();
  } else {
    TemplateDialog::OnCommand(id, notification);
  }
}

bool CJunctraDlg::OnMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) != IDM_ABOUTBOX) return false;  // Move, Close and the like
      ShowAboutBox();
      *result = TRUE;
      return true;
    case WM_PAINT:
      if (!IsIconic(hwnd())) return false;
      OnPaintIconic();
      *result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      *result = reinterpret_cast<INT_PTR>(m_hIcon);
      return true;
    default:
      return false;
  }
}

void CJunctraDlg::ShowAboutBox() {
  TemplateDialog about(IDD_ABOUTBOX, hwnd());
  about.DoModal();
}

// The icon centred in the client area, as the window shows when minimised.
void CJunctraDlg::OnPaintIconic() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const int icon_width = GetSystemMetrics(SM_CXICON);
  const int icon_height = GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int x = (client.right - client.left - icon_width + 1) / 2;
  const int y = (client.bottom - client.top - icon_height + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(hwnd(), &paint);
}

void CJunctraDlg::ShowFolders(const std::filesystem::path& first,
                              const std::filesystem::path& second) {
  ShowPath(IDC_FIRST_FOLDER, first);
  ShowPath(IDC_SECOND_FOLDER, second);
}

void CJunctraDlg::ShowBase(const std::filesystem::path& base) { ShowPath(IDC_BASE_FOLDER, base); }

// A field too narrow for its path shows the path's end, the folder's own
// name; the whole path is its tooltip.
void CJunctraDlg::ShowPath(int id, const std::filesystem::path& path) {
  HWND field = GetDlgItem(hwnd(), id);
  SetWindowTextW(field, path.c_str());
  const auto end = static_cast<WPARAM>(path.native().size());
  SendMessageW(field, EM_SETSEL, end, end);
  SendMessageW(field, EM_SCROLLCARET, 0, 0);

  tooltips_.Set(hwnd(), field, path.native());
}

void CJunctraDlg::EnableMerge(bool enabled) {
  EnableWindow(GetDlgItem(hwnd(), IDC_MERGE), enabled ? TRUE : FALSE);
}

// As the dialog manager moves the focus: Merge takes the default look while
// it has the focus, and Exit gets it back when the focus moves on.
void CJunctraDlg::FocusMerge() {
  SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd(), IDC_MERGE)),
               TRUE);
}

// The line wraps, and the dialog grows by the lines the template has no
// room for (and shrinks again), so that a long output folder never hides
// the counts; the whole text is its tooltip too.
void CJunctraDlg::ShowResult(const std::u16string& text) {
  HWND line = GetDlgItem(hwnd(), IDC_RESULT);
  const std::wstring wide = ToWide(text);
  SetWindowTextW(line, wide.c_str());
  tooltips_.Set(hwnd(), line, wide);

  HDC dc = GetDC(line);
  HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(line, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old_font);
  ReleaseDC(line, dc);
  const auto lines = static_cast<int>(SendMessageW(line, EM_GETLINECOUNT, 0, 0));
  const int height = std::max(result_height_, lines * static_cast<int>(metrics.tmHeight));
  RECT client;
  GetClientRect(line, &client);
  const int grow = height - client.bottom;
  if (grow == 0) return;
  RECT box;
  GetWindowRect(line, &box);
  SetWindowPos(line, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(hwnd(), &box);
  SetWindowPos(hwnd(), nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  KeepInWorkArea(hwnd());
  // Scrolled to its start, which growing may have left elsewhere.
  SendMessageW(line, EM_SETSEL, 0, 0);
  SendMessageW(line, EM_SCROLLCARET, 0, 0);
}

Decisions CJunctraDlg::ShowErrorList(const ConflictList& conflicts) {
  CErrorDlg dialog(conflicts, hwnd());
  dialog.DoModal();
  return dialog.decisions();
}

bool CJunctraDlg::BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                                  const std::filesystem::path& start, FolderUse use) {
  return services_.folders->BrowseForFolder(hwnd(), folder, prompt, start, use);
}

bool CJunctraDlg::AskReplace(const std::u16string& question) {
  return services_.messages->AskReplace(hwnd(), question);
}

void CJunctraDlg::ShowMessage(const std::u16string& text, const std::u16string& detail) {
  services_.messages->ShowMessage(hwnd(), text, detail);
}

}  // namespace junctra
