#include "ui/win32/dialog_services.h"

#include <shlobj.h>

#include <memory>
#include <utility>

#include "platform/env.h"
#include "platform/resource_module.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/window_placement.h"

namespace junctra {
namespace {

class ShellFolderChooser : public FolderChooser {
 public:
  bool BrowseForFolder(HWND owner, std::filesystem::path& result, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse use) override {
    return junctra::BrowseForFolder(owner, result, prompt, start, use);
  }
};

class SystemMessageBoxes : public MessageBoxService {
 public:
  void ShowMessage(HWND owner, const std::u16string& text, const std::u16string& detail) override {
    ShowMessageBox(owner, text, detail);
  }
  bool AskReplace(HWND owner, const std::u16string& question) override {
    return AskReplaceBox(owner, question);
  }
};

// Centres the browser on its owner once it is up, and selects the start
// folder, passed as lparam; and again once the messages queued while it
// opened are handled: under load, Wine's browser may fill its tree after
// this and select its root again.
int CALLBACK SelectStart(HWND browser, UINT message, LPARAM, LPARAM start) {
  if (message != BFFM_INITIALIZED) return 0;
  CentreWindow(browser, GetWindow(browser, GW_OWNER));
  if (start != 0) {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
    PostMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
  }
  return 0;
}

// The system places a message box in the middle of the screen; this hook,
// on the thread for one box, moves it onto its owner as it is activated.
thread_local HHOOK message_box_hook = nullptr;
thread_local HWND message_box_owner = nullptr;

LRESULT CALLBACK CentreMessageBox(int code, WPARAM wparam, LPARAM lparam) {
  const HHOOK hook = message_box_hook;
  if (code == HCBT_ACTIVATE) {
    UnhookWindowsHookEx(hook);
    message_box_hook = nullptr;
    CentreWindow(reinterpret_cast<HWND>(wparam), message_box_owner);
    return 0;
  }
  return CallNextHookEx(hook, code, wparam, lparam);
}

struct IdListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

// The longest path the system takes (in the "\\?\" form).
constexpr DWORD kLongestPath = 32768;

}  // namespace

DialogServices DefaultDialogServices() {
  static ShellFolderChooser folders;
  static SystemMessageBoxes messages;
  return {&folders, &messages};
}

bool BrowseForFolder(HWND owner, std::filesystem::path& result, const std::u16string& prompt,
                     const std::filesystem::path& start, FolderUse use) {
  wchar_t display_name[MAX_PATH] = {};
  const std::wstring title = ToWide(prompt);
  BROWSEINFOW request = {};
  request.hwndOwner = owner;
  request.pszDisplayName = display_name;
  request.lpszTitle = title.c_str();
  if (use == FolderUse::kWrite) request.ulFlags = BIF_NEWDIALOGSTYLE;
  request.lpfn = SelectStart;
  if (!start.empty()) request.lParam = reinterpret_cast<LPARAM>(start.c_str());
  const std::unique_ptr<ITEMIDLIST, IdListFree> chosen(SHBrowseForFolderW(&request));
  if (!chosen) return false;
  // Beyond MAX_PATH too: the program reads and writes such folders.
  std::wstring path(kLongestPath, L'\0');
  if (!SHGetPathFromIDListEx(chosen.get(), path.data(), kLongestPath, GPFIDL_DEFAULT)) {
    return false;  // a virtual folder, without a file-system path
  }
  path.resize(path.find(L'\0'));
  if (path.empty()) return false;
  result = std::move(path);
  return true;
}

void ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& detail) {
  std::wstring body = ToWide(text);
  if (!detail.empty()) body += L"\n\n" + ToWide(detail);
  const std::wstring caption = ApplicationName();
  if (owner != nullptr) {
    message_box_owner = owner;
    message_box_hook = SetWindowsHookExW(WH_CBT, CentreMessageBox, nullptr, GetCurrentThreadId());
  }
  MessageBoxW(owner, body.c_str(), caption.empty() ? nullptr : caption.c_str(),
              MB_OK | MB_ICONWARNING);
  if (message_box_hook != nullptr) {  // the box never came
    UnhookWindowsHookEx(message_box_hook);
    message_box_hook = nullptr;
  }
}

namespace {

// The message box's OK and Cancel buttons relabelled as it opens (the
// system's box has no Replace button of its own), and the box centred on
// its owner.
thread_local HHOOK replace_hook = nullptr;

LRESULT CALLBACK LabelReplaceButtons(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wparam);
    SetDlgItemTextW(box, IDOK, ToWide(LoadResourceString(IDS_REPLACE)).c_str());
    SetDlgItemTextW(box, IDCANCEL, ToWide(LoadResourceString(IDS_CANCEL)).c_str());
    CentreWindow(box, GetWindow(box, GW_OWNER));
    UnhookWindowsHookEx(replace_hook);
    replace_hook = nullptr;
    return 0;
  }
  return CallNextHookEx(replace_hook, code, wparam, lparam);
}

}  // namespace

bool AskReplaceBox(HWND owner, const std::u16string& question) {
  const std::wstring body = ToWide(question);
  const std::wstring caption = ApplicationName();
  replace_hook = SetWindowsHookExW(WH_CBT, LabelReplaceButtons, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(owner, body.c_str(), caption.empty() ? nullptr : caption.c_str(),
                                 MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2);
  if (replace_hook != nullptr) UnhookWindowsHookEx(replace_hook);
  replace_hook = nullptr;
  return answer == IDOK;
}

std::wstring ApplicationName() { return Env::Default()->ModuleFileName().stem().wstring(); }

}  // namespace junctra
