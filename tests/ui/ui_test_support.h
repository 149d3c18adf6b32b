// Shared pieces of the dialog tests: the Qt application, a fake folder
// chooser, a recording message service, running code inside a modal loop,
// and small databases on disk.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/resource_module.h"
#include "ui/qt/dialog_builder.h"
#include "ui/qt/dialog_services.h"
#include "ui/qt/qt_text.h"

namespace junctra {

// One QApplication for the whole test program, created before the first
// test and destroyed after the last.
class QtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "junctra";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

// Answers folder requests from a script: a path, or nullopt for Cancel.
class FakeFolderChooser : public FolderChooser {
 public:
  void Answer(std::optional<std::filesystem::path> answer) { answers_.push_back(answer); }

  bool BrowseForFolder(QWidget* owner, std::filesystem::path& result, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse) override {
    prompts.push_back(prompt);
    owners.push_back(owner);
    starts.push_back(start);
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected folder request: " << Utf16ToUtf8(prompt);
      return false;
    }
    std::optional<std::filesystem::path> answer = answers_.front();
    answers_.pop_front();
    if (!answer) return false;
    result = *answer;
    return true;
  }

  bool all_answered() const { return answers_.empty(); }

  std::vector<std::u16string> prompts;
  std::vector<QWidget*> owners;
  std::vector<std::filesystem::path> starts;

 private:
  std::deque<std::optional<std::filesystem::path>> answers_;
};

class RecordingMessages : public MessageBoxService {
 public:
  void ShowMessage(QWidget* owner, const std::u16string& text,
                   const std::u16string& detail = {}) override {
    texts.push_back(text);
    details.push_back(detail);
    owners.push_back(owner);
  }
  bool AskReplace(QWidget*, const std::u16string& question) override {
    questions.push_back(question);
    return true;
  }
  std::vector<std::u16string> texts;
  std::vector<std::u16string> questions;
  std::vector<std::u16string> details;
  std::vector<QWidget*> owners;
};

// Runs action on the active modal dialog once the next modal loop runs.
inline void WhenModal(std::function<void(QDialog*)> action) {
  QTimer::singleShot(0, [action] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog is running";
      return;
    }
    action(dialog);
  });
}

// Closes any modal dialog left running for longer than a test may take, so
// that a dialog nobody closes fails the test instead of hanging it.
class ModalWatchdog {
 public:
  ModalWatchdog() {
    timer_.setInterval(10000);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "modal dialog left open: " << modal->windowTitle().toStdString();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(-99);
      }
    });
    timer_.start();
  }

 private:
  QTimer timer_;
};

// The control with the ID, as the widget type it must have.
template <typename Widget>
Widget* ControlOf(const QWidget* dialog, int id) {
  auto* widget = qobject_cast<Widget*>(FindControl(dialog, id));
  EXPECT_NE(widget, nullptr) << "control " << id;
  return widget;
}

// The German satellite's module, loaded from the program folder of the
// build; null when the satellite has not been built.
const ResourceModule* GermanModule();

// Writes UTF-16LE text with a byte-order mark; "\n" becomes CR LF.
void WriteUtf16File(const std::filesystem::path& path, std::u16string_view text);

// A tag as a block of tagl.txt.
struct TestTag {
  std::u16string name;
  int number;
  int type;
};
// A database folder holding tagl.txt with the tags (and no class.lst).
void WriteDatabase(const std::filesystem::path& folder, const std::vector<TestTag>& tags);

// The tag names in a written tagl.txt, in file order.
std::vector<std::u16string> ReadTagNames(const std::filesystem::path& tag_file);

}  // namespace junctra
