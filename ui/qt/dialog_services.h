// What the dialogs ask of the desktop beyond themselves: a folder chooser
// and message boxes. Both sit behind small interfaces so that tests can put
// a fake chooser and a recording message service in their place.
#pragma once

#include <filesystem>
#include <string>

#include "merge/merge_command.h"

class QWidget;

namespace junctra {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  // Asks for a folder with the prompt as title, opening in start (when not
  // empty); true with the chosen path in result, false (result unchanged)
  // when the user cancels.
  virtual bool BrowseForFolder(QWidget* owner, std::filesystem::path& result,
                               const std::u16string& prompt, const std::filesystem::path& start,
                               FolderUse use) = 0;
};

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows the text, and any detail below it, with an OK button and a warning
  // icon, captioned with the application's name, modal to owner; returns
  // when it is closed.
  virtual void ShowMessage(QWidget* owner, const std::u16string& text,
                           const std::u16string& detail = {}) = 0;
  // Asks the question with Replace and Cancel buttons, Cancel the default;
  // true for Replace.
  virtual bool AskReplace(QWidget* owner, const std::u16string& question) = 0;
};

struct DialogServices {
  FolderChooser* folders;
  MessageBoxService* messages;
};

// The desktop's own: the directory chooser and the message box below.
DialogServices DefaultDialogServices();

// Qt's directory chooser with the prompt as its title, opening in start
// when that is given. It renames and deletes nothing, and creates a new
// folder only when the folder is chosen to be written. The chosen path has
// no trailing separator, except for the root "/".
bool BrowseForFolder(QWidget* owner, std::filesystem::path& result, const std::u16string& prompt,
                     const std::filesystem::path& start = {}, FolderUse use = FolderUse::kRead);

// A modal message box: the text, the detail (if any) as its informative
// text, an OK button, a warning icon, the application's name as caption.
void ShowMessageBox(QWidget* owner, const std::u16string& text, const std::u16string& detail = {});

// A modal question with Replace and Cancel (the default) buttons, a warning
// icon and the application's name as caption; true for Replace.
bool AskReplaceBox(QWidget* owner, const std::u16string& question);

}  // namespace junctra
