// What the dialogs ask of the desktop beyond themselves: the shell's folder
// browser and message boxes. Both sit behind small interfaces so that tests
// can answer in their place.
#pragma once

#include "ui/win32/win32.h"

#include <filesystem>
#include <string>

#include "merge/merge_command.h"

namespace junctra {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  // Asks for a folder with the prompt, opening at start (when not empty);
  // true with the chosen path in result, false (result unchanged) when the
  // user cancels.
  virtual bool BrowseForFolder(HWND owner, std::filesystem::path& result,
                               const std::u16string& prompt, const std::filesystem::path& start,
                               FolderUse use) = 0;
};

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows the text, and any detail below it, with an OK button and a warning
  // icon, captioned with the application's name, modal to owner; returns
  // when it is closed.
  virtual void ShowMessage(HWND owner, const std::u16string& text,
                           const std::u16string& detail = {}) = 0;
  // Asks the question with Replace and Cancel buttons, Cancel the default;
  // true for Replace.
  virtual bool AskReplace(HWND owner, const std::u16string& question) = 0;
};

struct DialogServices {
  FolderChooser* folders;
  MessageBoxService* messages;
};

// The shell's folder browser and the system's message box, below.
DialogServices DefaultDialogServices();

// The shell's folder browser with the prompt above its tree, start (when
// given) selected and in sight; with a Make New Folder button when the
// folder is chosen to be written. A folder without a file-system path
// counts as cancelled. The path has no trailing backslash, except for a
// drive's root. Needs COM on the calling thread.
bool BrowseForFolder(HWND owner, std::filesystem::path& result, const std::u16string& prompt,
                     const std::filesystem::path& start = {}, FolderUse use = FolderUse::kRead);

// A modal message box: the text, the detail (if any) as a paragraph of its
// own below it, OK, a warning icon, the application's name as caption.
void ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& detail = {});

// A modal question with Replace and Cancel (the default) buttons, a warning
// icon and the application's name as caption; true for Replace.
bool AskReplaceBox(HWND owner, const std::u16string& question);

// The application's name: the program file's name without its extension.
std::wstring ApplicationName();

}  // namespace junctra
