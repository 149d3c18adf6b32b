// What the dialogs ask of the desktop beyond themselves: the shell's folder
// browser and message boxes. Both sit behind small interfaces so that tests
// can answer in their place.
#pragma once

#include "ui/win32/win32.h"

#include <filesystem>
#include <string>

namespace junctra {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  // Asks for a folder with the prompt, opening at start (when not empty);
  // true with the chosen path in result, false (result unchanged) when the
  // user cancels.
  virtual bool BrowseForFolder(HWND owner, std::filesystem::path& result,
                               const std::u16string& prompt,
                               const std::filesystem::path& start) = 0;
};

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows the text, and any detail below it, with an OK button and a warning
  // icon, captioned with the application's name, modal to owner; returns
  // when it is closed.
  virtual void ShowMessage(HWND owner, const std::u16string& text,
                           const std::u16string& detail = {}) = 0;
};

struct DialogServices {
  FolderChooser* folders;
  MessageBoxService* messages;
};

// The shell's folder browser and the system's message box, below.
DialogServices DefaultDialogServices();

// The shell's folder browser with the prompt above its tree, start (when
// given) selected and in sight. A folder without a file-system path counts
// as cancelled. The path has no trailing backslash, except for a drive's
// root. Needs COM on the calling thread.
bool BrowseForFolder(HWND owner, std::filesystem::path& result, const std::u16string& prompt,
                     const std::filesystem::path& start = {});

// A modal message box: the text, the detail (if any) as a paragraph of its
// own below it, OK, a warning icon, the application's name as caption.
void ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& detail = {});

// The application's name: the program file's name without its extension.
std::wstring ApplicationName();

}  // namespace junctra
