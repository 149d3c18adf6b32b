// The Win32 dialogs, run for real and driven from a second thread (for the
// program's exit codes, from the test's process). Under Wine they need a
// display or Wine's null graphics driver, which scripts/windows-test.sh
// chooses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <iterator>
#include <string>
#include <vector>

#include "platform/env.h"
#include "resources/resource_ids.h"
#include "tests/database_files.h"
#include "tests/temp_dir.h"
#include "tests/ui/win32_window_driver.h"
#include "ui/run_main_dialog.h"
#include "ui/win32/dialog_services.h"
#include "ui/win32/error_dlg.h"
#include "ui/win32/junctra_dlg.h"
#include "ui/win32/win32_text.h"

#include <commctrl.h>
#include <shlobj.h>

namespace junctra {
namespace {

std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD begin = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&end));
  return {begin, end};
}

// The tooltip text of a field, from the tooltip control its dialog owns.
std::wstring TooltipOf(HWND dialog, HWND field) {
  HWND tips = nullptr;
  while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
    if (GetWindow(tips, GW_OWNER) == dialog) break;
  }
  if (tips == nullptr) return L"(no tooltips)";
  wchar_t text[1024] = {};
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(field);
  tool.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

// Whether window's middle is owner's, or the middle of its screen's work
// area without an owner (to a pixel, for odd sizes).
bool CentredOn(HWND window, HWND owner) {
  RECT box, target;
  GetWindowRect(window, &box);
  if (owner != nullptr) {
    GetWindowRect(owner, &target);
  } else {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    target = monitor.rcWork;
  }
  return std::abs((box.left + box.right) - (target.left + target.right)) <= 1 &&
         std::abs((box.top + box.bottom) - (target.top + target.bottom)) <= 1;
}

TEST(Win32MainDialogTest, ShowsStartUpFolderAndAboutEntry_EscapeAndReturnEndIt) {
  int argc = 1;
  char program[] = "junctra";
  char* argv[] = {program, nullptr};
  const std::filesystem::path first = L"C:\\from\\start-up";
  const std::filesystem::path base = L"C:\\from\\ancestor";

  const int cancelled =
      Driven([&] { return RunMainDialog(argc, argv, first, {}, base); },
             [](DWORD process, DWORD thread) {
               HWND dialog = WaitForDialog(process, thread, CaptionIs(L"Junctra"));
               ASSERT_NE(dialog, nullptr);
               EXPECT_EQ(ItemText(dialog, IDC_FIRST_FOLDER), L"C:\\from\\start-up");
               EXPECT_EQ(ItemText(dialog, IDC_SECOND_FOLDER), L"");
               EXPECT_EQ(ItemText(dialog, IDC_BASE_FOLDER), L"C:\\from\\ancestor");
               EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_MERGE)));
               EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
               EXPECT_TRUE(CentredOn(dialog, nullptr));

               // The system menu ends with a separator and the About entry.
               HMENU menu = GetSystemMenu(dialog, FALSE);
               const int count = GetMenuItemCount(menu);
               ASSERT_GE(count, 2);
               EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
               EXPECT_EQ(GetMenuItemID(menu, count - 1), IDM_ABOUTBOX);
               wchar_t entry[64] = {};
               GetMenuStringW(menu, count - 1, entry, 64, MF_BYPOSITION);
               EXPECT_STREQ(entry, L"&About Junctra...");

               PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
               HWND about = WaitForDialog(process, thread, OwnedBy(dialog));
               ASSERT_NE(about, nullptr);
               EXPECT_EQ(WindowText(about), L"About Junctra");
               EXPECT_TRUE(CentredOn(about, dialog));
               EXPECT_FALSE(IsWindowEnabled(dialog));  // modal to it
               Press(about, VK_ESCAPE);
               EXPECT_TRUE(WaitUntilGone(about));
               EXPECT_TRUE(IsWindowEnabled(dialog));

               Press(dialog, VK_ESCAPE);
             });
  EXPECT_EQ(cancelled, 2);

  const int exited = Driven([&] { return RunMainDialog(argc, argv, {}); },
                            [](DWORD process, DWORD thread) {
                              HWND dialog = WaitForDialog(process, thread, CaptionIs(L"Junctra"));
                              ASSERT_NE(dialog, nullptr);
                              Press(dialog, VK_RETURN);  // Exit, the default button
                            });
  EXPECT_EQ(exited, 1);
}

class RecordingMessages : public MessageBoxService {
 public:
  void ShowMessage(HWND, const std::u16string& text, const std::u16string&) override {
    shown.push_back(text);
  }
  bool AskReplace(HWND, const std::u16string& question) override {
    shown.push_back(question);
    return true;
  }
  std::vector<std::u16string> shown;
};

TEST(Win32MainDialogTest, SelectShowsTheFolders_MergeListsConflictsOrWrites) {
  TempDir dir;
  auto database = [&](const char* name, std::u16string_view blocks) {
    const std::filesystem::path folder = dir.path() / name;
    std::filesystem::create_directories(folder);
    WriteDatabaseFile(folder / "tagl.txt", TagFile(blocks));
    return folder;
  };
  const auto a = database("a", TagBlock(u"Level", u"1|4|x") + TagBlock(u"Pump", u"2|4|x"));
  const auto b = database("b", TagBlock(u"Level", u"9|4|x") + TagBlock(u"Pump", u"8|4|x"));
  const auto c = database("c", TagBlock(u"Valve", u"3|4|x"));
  // Long enough that the result line takes more lines than it has room for.
  const auto out = dir.path() / ("out-" + std::string(120, 'o'));
  std::filesystem::create_directories(out);

  ScriptedChooser chooser;
  RecordingMessages messages;
  CJunctraDlg dialog(nullptr, {&chooser, &messages});
  const INT_PTR result =
      Driven([&] { return dialog.DoModal(); },
             [&](DWORD process, DWORD thread) {
               HWND window = WaitForDialog(process, thread, CaptionIs(L"Junctra"));
               ASSERT_NE(window, nullptr);
               // Sent, so that each returns once the dialog has handled it.
               chooser.answers = {a, b};
               SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0);
               EXPECT_EQ(ItemText(window, IDC_FIRST_FOLDER), a.wstring() + L"\\");
               EXPECT_EQ(ItemText(window, IDC_SECOND_FOLDER), b.wstring() + L"\\");
               EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_MERGE)));
               // The caret at the end, so that a narrow field shows the
               // folder's own name; the whole path as tooltip.
               HWND first = GetDlgItem(window, IDC_FIRST_FOLDER);
               const DWORD length = static_cast<DWORD>(a.wstring().size() + 1);
               EXPECT_EQ(Selection(first), std::make_pair(length, length));
               EXPECT_EQ(TooltipOf(window, first), a.wstring() + L"\\");

               PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_MERGE, BN_CLICKED), 0);
               HWND errors = WaitForDialog(process, thread, OwnedBy(window));
               ASSERT_NE(errors, nullptr);
               EXPECT_EQ(WindowText(errors), L"Error List");
               EXPECT_TRUE(CentredOn(errors, window));
               EXPECT_EQ(SendDlgItemMessageW(errors, IDC_ERRORS, LB_GETCOUNT, 0, 0), 2);
               Press(errors, VK_RETURN);  // OK
               EXPECT_TRUE(WaitUntilGone(errors));

               RECT before;
               GetWindowRect(window, &before);
               chooser.answers = {a, c, out};
               SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0);
               SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_MERGE, BN_CLICKED), 0);
               EXPECT_TRUE(chooser.answers.empty());
               // The result line wraps, the dialog grown to show it whole;
               // it can be selected, and its tooltip is the whole text.
               const std::wstring result = ItemText(window, IDC_RESULT);
               EXPECT_EQ(result.rfind(L"Merged into " + out.wstring(), 0), 0u)
                   << std::string(result.begin(), result.end());
               HWND line = GetDlgItem(window, IDC_RESULT);
               EXPECT_GT(SendMessageW(line, EM_GETLINECOUNT, 0, 0), 2);
               RECT after, shown, client;
               GetWindowRect(window, &after);
               EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
               GetWindowRect(line, &shown);
               MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2);
               GetClientRect(window, &client);
               EXPECT_LE(shown.bottom, client.bottom);
               EXPECT_TRUE(GetWindowLongPtrW(line, GWL_STYLE) & ES_READONLY);
               SendMessageW(line, EM_SETSEL, 0, -1);
               EXPECT_EQ(Selection(line).second, result.size());
               EXPECT_EQ(TooltipOf(window, line), result);
               Press(window, VK_ESCAPE);
             });
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(std::filesystem::exists(out / "tagl.txt"));
  EXPECT_TRUE(std::filesystem::exists(out / "class.lst"));
  EXPECT_TRUE(messages.shown.empty());
  // Beside the earlier choice: the second chooser, the next Select's both
  // and the output chooser all open in dir.
  EXPECT_EQ(chooser.starts, (std::vector<std::filesystem::path>{
                                {}, dir.path(), dir.path(), dir.path(), dir.path()}));
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(Win32ErrorListTest, ListsConflictsWithTheSelectedDetailMarked_CopyTakesTheReport) {
  const std::u16string long_text(300, u'x');
  const ConflictList conflicts = {
      {u"Tag 'Level' has different definitions", {u"Number", u"12", u"19"}},
      {u"Class 'Motor' has different definitions", {u"Member count", u"3", u"4"}},
      {u"Tag 'Long' has different definitions",
       {u"Alarm line 1", long_text + u"80", long_text + u"85"}}};
  CErrorDlg dialog(conflicts, nullptr);
  const INT_PTR result =
      Driven([&] { return dialog.DoModal(); },
             [&](DWORD process, DWORD thread) {
               HWND window = WaitForDialog(process, thread, CaptionIs(L"Error List"));
               ASSERT_NE(window, nullptr);
               HWND list = GetDlgItem(window, IDC_ERRORS);
               HWND first = GetDlgItem(window, IDC_DETAIL_FIRST);
               HWND second = GetDlgItem(window, IDC_DETAIL_SECOND);
               EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
               EXPECT_GT(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
               EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
               EXPECT_EQ(ItemText(window, IDC_DETAIL_PART), L"Number");
               EXPECT_EQ(WindowText(first), L"12");
               EXPECT_EQ(WindowText(second), L"19");
               EXPECT_EQ(Selection(first), std::make_pair(1ul, 2ul));  // after the common "1"
               EXPECT_EQ(Selection(second), std::make_pair(1ul, 2ul));

               Press(list, VK_DOWN);
               EXPECT_TRUE(
                   WaitUntil([&] { return ItemText(window, IDC_DETAIL_PART) == L"Member count"; }));
               EXPECT_EQ(WindowText(second), L"4");
               EXPECT_EQ(Selection(second), std::make_pair(0ul, 1ul));

               // A long text wraps, the difference in view; tabbing into a
               // pane keeps it marked.
               Press(list, VK_DOWN);
               EXPECT_TRUE(
                   WaitUntil([&] { return ItemText(window, IDC_DETAIL_PART) == L"Alarm line 1"; }));
               EXPECT_GT(SendMessageW(first, EM_GETLINECOUNT, 0, 0), 5);
               const auto top = SendMessageW(first, EM_GETFIRSTVISIBLELINE, 0, 0);
               EXPECT_GT(top, 0);
               EXPECT_LE(top, SendMessageW(first, EM_LINEFROMCHAR, 301, 0));
               SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
               EXPECT_EQ(Selection(first), std::make_pair(301ul, 302ul));

               SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_COPY, BN_CLICKED), 0);
               EXPECT_EQ(ClipboardText(),
                         L"Can not merge databases due to the following inconsistencies:\r\n"
                         L"Tag 'Level' has different definitions\r\n"
                         L"  Number: first 12, second 19\r\n"
                         L"Class 'Motor' has different definitions\r\n"
                         L"  Member count: first 3, second 4\r\n"
                         L"Tag 'Long' has different definitions\r\n"
                         L"  Alarm line 1: first " +
                             ToWide(long_text + u"80, second " + long_text + u"85\r\n"));
               Press(window, VK_RETURN);
             });
  EXPECT_EQ(result, IDOK);
}

TEST(Win32ErrorListTest, KeysDecideEachConflictAndMergeReturnsTheChoices) {
  const ConflictList conflicts = {
      {.line = u"Tag 'Level' has different definitions",
       .detail = {.part = u"Number", .first = u"2", .second = u"3", .base = u"1"},
       .name = u"Level"},
      {.line = u"Class 'Motor' has different definitions", .is_class = true, .name = u"Motor"}};
  CErrorDlg dialog(conflicts, nullptr);
  const INT_PTR result = Driven(
      [&] { return dialog.DoModal(); },
      [](DWORD process, DWORD thread) {
        HWND window = WaitForDialog(process, thread, CaptionIs(L"Error List"));
        ASSERT_NE(window, nullptr);
        HWND list = GetDlgItem(window, IDC_ERRORS);
        EXPECT_EQ(ItemText(window, IDC_DETAIL_BASE), L"1");
        // Alt and a letter, as the dialog's modal loop gets them.
        auto mnemonic = [&](WPARAM letter) { PostMessageW(list, WM_SYSCHAR, letter, 1 << 29); };
        mnemonic('f');  // Take &first
        Press(list, VK_DOWN);
        mnemonic('s');  // Take &second
        EXPECT_TRUE(
            WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, IDC_MERGE_DECIDED)); }));
        mnemonic('m');  // &Merge with these choices...
      });
  EXPECT_EQ(result, IDOK);
  const Decisions decisions = dialog.decisions();
  ASSERT_EQ(decisions.each.size(), 2u);
  EXPECT_EQ(decisions.each[0].side, Side::kFirst);
  EXPECT_TRUE(decisions.each[1].is_class);
  EXPECT_EQ(decisions.each[1].side, Side::kSecond);
}

TEST(Win32ServicesTest, MessageBoxHasTheDetailBelowTheTextAndTheProgramAsCaption) {
  // An owner off the screen's middle, on which the box is centred.
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 40, 30, 700, 500,
                               nullptr, nullptr, nullptr, nullptr);
  Driven(
      [&] {
        ShowMessageBox(owner, u"Error saving class file", u"out\\class.lst: Access denied");
        return 0;
      },
      [&](DWORD process, DWORD thread) {
        HWND box = WaitForDialog(process, thread, CaptionIs(ApplicationName()));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(CentredOn(box, owner));
        std::wstring texts;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM all) -> BOOL {
              reinterpret_cast<std::wstring*>(all)->append(WindowText(child) + L"|");
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&texts));
        EXPECT_NE(texts.find(L"|Error saving class file\n\nout\\class.lst: Access denied|"),
                  std::wstring::npos)
            << std::string(texts.begin(), texts.end());
        Press(box, VK_RETURN);
      });
  DestroyWindow(owner);
}

TEST(Win32ServicesTest, ReplacingADatabaseAsksWithReplaceAndCancelTheDefault) {
  for (const bool replace : {false, true}) {
    const bool answer = Driven([] { return AskReplaceBox(nullptr, u"Replace?"); },
                               [&](DWORD process, DWORD thread) {
                                 HWND box = WaitForDialog(process, thread);
                                 ASSERT_NE(box, nullptr);
                                 EXPECT_EQ(ItemText(box, IDOK), L"&Replace");
                                 EXPECT_EQ(ItemText(box, IDCANCEL), L"Cancel");
                                 if (replace) {
                                   PostMessageW(box, WM_COMMAND, IDOK, 0);
                                 } else {
                                   Press(box, VK_RETURN);  // Cancel, the default
                                 }
                               });
    EXPECT_EQ(answer, replace);
  }
}

// The text of the tree view's selected item.
std::wstring SelectedItem(HWND browser) {
  HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
  wchar_t text[MAX_PATH] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

TEST(Win32ServicesTest, FolderBrowserGivesTheChosenPathOrNothingWhenCancelled) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TempDir dir;
  const std::filesystem::path keep = L"C:\\unchanged";
  std::filesystem::path chosen = keep;
  auto browse = [&] { return BrowseForFolder(nullptr, chosen, u"Select new database folder:"); };

  const bool cancelled = Driven(browse, [](DWORD process, DWORD thread) {
    HWND browser = WaitForDialog(process, thread);
    ASSERT_NE(browser, nullptr);
    Press(browser, VK_ESCAPE);
  });
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(chosen, keep);

  // Opened at a start folder, the browser has it selected: OK gives it.
  auto browse_from_dir = [&] {
    return BrowseForFolder(nullptr, chosen, u"Select new database folder:", dir.path());
  };
  const bool accepted = Driven(browse_from_dir, [&](DWORD process, DWORD thread) {
    HWND browser = WaitForDialog(process, thread);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SelectedItem(browser) == dir.path().filename(); }));
    Press(browser, VK_RETURN);
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(chosen, dir.path());
  CoUninitialize();
}

// The program itself, started as Explorer or a shortcut starts it: no
// console, no standard handles. Exit gives exit code 0, Escape 1; a batch
// run, which has nowhere to print, shows its messages in one message box.
TEST(Win32ProgramTest, ExitCodesFollowHowTheDialogEnds_BatchMessagesShowInABox) {
  const std::filesystem::path program =
      std::filesystem::path(Env::Default()->GetEnvironmentVariable("JUNCTRA_PROGRAM_DIR").value()) /
      "junctra.exe";
  TempDir dir;
  const std::wstring batch =
      L" \"" + (dir.path() / "a").wstring() + L"\" \"" + (dir.path() / "b").wstring() + L"\"";
  struct Run {
    std::wstring arguments;
    WPARAM key;
    std::wstring caption;
    DWORD exit_code;
  };
  for (const Run& run : {Run{L"", VK_RETURN, L"Junctra", 0}, Run{L"", VK_ESCAPE, L"Junctra", 1},
                         Run{batch, VK_RETURN, L"junctra", 1}}) {
    std::wstring command = L"\"" + program.wstring() + L"\"" + run.arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // all three null
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE,
                               DETACHED_PROCESS, nullptr, nullptr, &startup, &child))
        << program;
    HWND dialog = WaitForDialog(child.dwProcessId, 0, CaptionIs(run.caption));
    EXPECT_NE(dialog, nullptr);
    if (dialog != nullptr && !run.arguments.empty()) {
      // The message box's text is its static control 0xFFFF.
      EXPECT_EQ(
          ItemText(dialog, 0xFFFF).rfind(L"First folder does not contain database files\n", 0), 0u)
          << std::string(ItemText(dialog, 0xFFFF).begin(), ItemText(dialog, 0xFFFF).end());
    }
    if (dialog != nullptr) Press(dialog, run.key);
    if (WaitForSingleObject(child.hProcess, 60000) != WAIT_OBJECT_0) {
      TerminateProcess(child.hProcess, 99);
    }
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(code, run.exit_code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
}

}  // namespace
}  // namespace junctra
