// Shows the real Win32 dialogs for scripts/windows-screenshots.sh, one after
// the other, over the demo databases it writes into FOLDER: the error list
// after a three-way Merge with conflicts, one of them decided, the About
// box, and the main dialog after a three-way Merge that writes, with its
// result line. For each it prints "NAME WIDTHxHEIGHT+X+Y", the window on
// the screen, and goes on once a line arrives on standard input.
//
//   win32_screenshot_helper FOLDER [SATELLITE.dll]
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/ui/demo_databases.h"
#include "tests/ui/win32_window_driver.h"
#include "ui/win32/junctra_dlg.h"

namespace junctra {
namespace {

class SilentMessages : public MessageBoxService {
 public:
  void ShowMessage(HWND, const std::u16string&, const std::u16string&) override {}
  bool AskReplace(HWND, const std::u16string&) override { return true; }
};

// Prints where the window is once it has painted, and waits for the shot.
void Report(const char* name, HWND window) {
  Sleep(500);
  RECT frame;
  GetWindowRect(window, &frame);
  std::printf("%s %ldx%ld+%ld+%ld\n", name, frame.right - frame.left, frame.bottom - frame.top,
              frame.left, frame.top);
  std::fflush(stdout);
  std::string line;
  std::getline(std::cin, line);
}

int Run(const std::filesystem::path& folder) {
  const DemoFolders demo = WriteDemoDatabases(folder);
  ScriptedChooser chooser;
  chooser.answers = {demo.first, demo.conflicting, demo.base, demo.first, demo.second, demo.merged};
  SilentMessages messages;
  CJunctraDlg dialog(nullptr, {&chooser, &messages});
  const INT_PTR result =
      Driven([&] { return dialog.DoModal(); },
             [](DWORD process, DWORD thread) {
               HWND main = WaitForDialog(process, thread);
               if (main == nullptr) return;
               SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0);
               SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_SELECT_BASE, BN_CLICKED), 0);
               PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_MERGE, BN_CLICKED), 0);
               if (HWND errors = WaitForDialog(process, thread, OwnedBy(main))) {
                 SendMessageW(errors, WM_COMMAND, MAKEWPARAM(IDC_TAKE_FIRST, BN_CLICKED), 0);
                 Report("error-list", errors);
                 Press(errors, VK_RETURN);
                 WaitUntilGone(errors);
               }

               PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
               if (HWND about = WaitForDialog(process, thread, OwnedBy(main))) {
                 Report("about-box", about);
                 Press(about, VK_RETURN);
                 WaitUntilGone(about);
               }

               SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0);
               SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_MERGE, BN_CLICKED), 0);
               Report("main-dialog", main);
               Press(main, VK_ESCAPE);
             });
  return result == IDCANCEL ? 0 : 1;
}

}  // namespace
}  // namespace junctra

int main(int argc, char** argv) {
  using namespace junctra;
  if (argc < 2) {
    std::fprintf(stderr, "usage: win32_screenshot_helper FOLDER [SATELLITE.dll]\n");
    return 2;
  }
  std::unique_ptr<Library> library;
  std::unique_ptr<ResourceModule> satellite;
  if (argc > 2) {
    library = Env::Default()->LoadLibrary(Utf8ToPath(argv[2]));
    if (library != nullptr) satellite = ResourceModule::FromLibrary(*library);
    if (satellite == nullptr) {
      std::fprintf(stderr, "win32_screenshot_helper: cannot load %s\n", argv[2]);
      return 1;
    }
    SetCurrentResourceModule(satellite.get());
  }
  const int result = Run(Utf8ToPath(argv[1]));
  SetCurrentResourceModule(nullptr);
  return result;
}
