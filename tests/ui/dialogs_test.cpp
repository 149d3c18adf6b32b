// The error list dialog, the About box, and the dialogs in German.
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "platform/resource_module.h"
#include "tests/temp_dir.h"
#include "tests/ui/ui_test_support.h"
#include "ui/qt/about_dlg.h"
#include "ui/qt/dialog_services.h"
#include "ui/qt/error_dlg.h"
#include "ui/qt/junctra_dlg.h"
#include "ui/qt/display.h"

namespace junctra {
namespace {

constexpr int kErrorsEdit = 1006;

QString ErrorText(const std::vector<std::u16string>& lines, std::function<void(QDialog*)> close,
                  int* result = nullptr) {
  CErrorDlg dialog(&lines, nullptr);
  QString text;
  WhenModal([&](QDialog* modal) {
    text = ControlOf<QPlainTextEdit>(modal, kErrorsEdit)->toPlainText();
    close(modal);
  });
  const int ended = dialog.DoModal();
  if (result != nullptr) *result = ended;
  return text;
}

void ClickOk(QDialog* dialog) { ControlOf<QPushButton>(dialog, 1)->click(); }

TEST(ErrorDlgTest, EveryLineIsFollowedByALineEndInListOrder) {
  ModalWatchdog watchdog;
  const std::vector<std::u16string> lines = {
      u"Class 'Motor' has different definitions", u"Tag 'Zeta' has different definitions",
      u"Tag 'Alpha' has different definitions", u"Tag 'Alpha' has different definitions"};
  int result = 0;
  const QString text = ErrorText(lines, ClickOk, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(text,
            "Class 'Motor' has different definitions\nTag 'Zeta' has different definitions\n"
            "Tag 'Alpha' has different definitions\nTag 'Alpha' has different definitions\n");

  EXPECT_EQ(ErrorText({u"Tag 'A' has different definitions"}, ClickOk),
            "Tag 'A' has different definitions\n");
  EXPECT_EQ(ErrorText({}, ClickOk), "");
}

TEST(ErrorDlgTest, LongLinesStayOneLineAndReturnInTheListKeepsTheDialogOpen) {
  ModalWatchdog watchdog;
  const std::u16string long_line =
      u"Tag '" + std::u16string(300, u'x') + u"' has different definitions";
  const std::vector<std::u16string> lines = {long_line, u"second"};
  CErrorDlg errors(&lines, nullptr);
  int returns_ignored = 0;
  WhenModal([&](QDialog* modal) {
    auto* edit = ControlOf<QPlainTextEdit>(modal, kErrorsEdit);
    EXPECT_EQ(edit->document()->lineCount(), 3);  // two lines and the empty one after them
    EXPECT_TRUE(edit->isReadOnly());
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    if (modal->isVisible()) ++returns_ignored;
    // The caret moves down to the empty line after the last line end.
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(edit->textCursor().blockNumber(), 2);
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  EXPECT_EQ(errors.DoModal(), 2);
  EXPECT_EQ(returns_ignored, 1);
}

TEST(AboutDlgTest, ShowsIconNameVersionNoticeAndClosesWithOkOrEscape) {
  ModalWatchdog watchdog;
  CAboutDlg about;
  WhenModal([&](QDialog* modal) {
    QStringList texts;
    bool has_icon = false;
    for (QLabel* label : modal->findChildren<QLabel*>()) {
      if (!label->pixmap().isNull()) {
        has_icon = label->pixmap().size() == QSize(32, 32);
      } else {
        texts << label->text();
      }
    }
    EXPECT_TRUE(has_icon);
    EXPECT_TRUE(texts.contains("Junctra Version 1.0"));
    EXPECT_EQ(texts.size(), 2);
    EXPECT_EQ(ControlOf<QPushButton>(modal, 1)->text(), "OK");
    EXPECT_TRUE(ControlOf<QPushButton>(modal, 1)->isDefault());
    QTest::keyClick(modal, Qt::Key_Return);
  });
  EXPECT_EQ(about.DoModal(), 1);

  CAboutDlg again;
  WhenModal([](QDialog* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
  EXPECT_EQ(again.DoModal(), 2);
}

class GermanTest : public testing::Test {
 protected:
  void SetUp() override {
    german_ = GermanModule();
    ASSERT_NE(german_, nullptr) << "the German satellite is not built";
    SetCurrentResourceModule(german_);
  }
  void TearDown() override { SetCurrentResourceModule(nullptr); }

  const ResourceModule* german_ = nullptr;
  ModalWatchdog watchdog_;
};

TEST_F(GermanTest, MainDialogMessagesAndErrorListComeFromTheSatellite) {
  TempDir dir;
  WriteDatabase(dir.path() / "a", {{u"Alpha", 1, 2}});
  WriteDatabase(dir.path() / "b", {{u"Alpha", 2, 2}});
  FakeFolderChooser chooser;
  RecordingMessages messages;
  CJunctraDlg dialog(nullptr, {&chooser, &messages});
  const JunctraDialog* main_template = german_->FindDialog(IDD_JUNCTRA_DIALOG);
  ASSERT_NE(main_template, nullptr);
  EXPECT_EQ(dialog.windowTitle(), ToQString(main_template->caption));

  QString errors_caption;
  QString errors_text;
  QString about_entry;
  WhenModal([&](QDialog* modal) {
    about_entry = dialog.window_menu().menu()->actions().last()->text();
    chooser.Answer(dir.path() / "a");
    chooser.Answer(dir.path() / "a");
    ControlOf<QPushButton>(modal, 1000)->click();
    chooser.Answer(dir.path() / "a");
    chooser.Answer(dir.path() / "b");
    ControlOf<QPushButton>(modal, 1000)->click();
    WhenModal([&](QDialog* errors) {
      errors_caption = errors->windowTitle();
      errors_text = ControlOf<QPlainTextEdit>(errors, kErrorsEdit)->toPlainText();
      ClickOk(errors);
    });
    ControlOf<QPushButton>(modal, 1005)->click();
    ControlOf<QPushButton>(modal, 1)->click();
  });
  EXPECT_EQ(dialog.DoModal(), 1);

  EXPECT_EQ(chooser.prompts.front(), german_->LoadString(IDS_SELECT_FIRST));
  EXPECT_EQ(messages.texts,
            (std::vector<std::u16string>{german_->LoadString(IDS_SELECT_DIFFERENT)}));
  EXPECT_NE(messages.texts.front(), ResourceModule::BuiltIn().LoadString(IDS_SELECT_DIFFERENT));
  EXPECT_EQ(about_entry, ToQString(german_->LoadString(IDS_ABOUTBOX)));
  EXPECT_EQ(errors_caption, ToQString(german_->FindDialog(IDD_ERROR_DIALOG)->caption));
  EXPECT_EQ(errors_text,
            ToQString(FormatMessage(german_->LoadString(IDS_TAG_CONFLICT), u"Alpha")) + "\n");
}

TEST(BrowseForFolderTest, DirectoryChooserWithThePromptAsTitle) {
  ModalWatchdog watchdog;
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "db");
  std::filesystem::path result = "unchanged";

  QString title;
  WhenModal([&](QDialog* modal) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(chooser, nullptr);
    title = chooser->windowTitle();
    EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
    chooser->reject();
  });
  EXPECT_FALSE(BrowseForFolder(nullptr, result, u"Select new database folder:"));
  EXPECT_EQ(title, "Select new database folder:");
  EXPECT_EQ(result, "unchanged");

  WhenModal([&](QDialog* modal) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(chooser, nullptr);
    chooser->setDirectory(PathToQString(dir.path()));
    chooser->selectFile(PathToQString(dir.path() / "db"));
    QMetaObject::invokeMethod(chooser, "accept");
  });
  EXPECT_TRUE(BrowseForFolder(nullptr, result, u"prompt"));
  EXPECT_EQ(result, dir.path() / "db");  // no trailing separator

  WhenModal([&](QDialog* modal) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(chooser, nullptr);
    chooser->setDirectory(QStringLiteral("/"));
    chooser->selectFile(QStringLiteral("/"));
    QMetaObject::invokeMethod(chooser, "accept");
  });
  EXPECT_TRUE(BrowseForFolder(nullptr, result, u"prompt"));
  EXPECT_EQ(result, "/");
}

TEST(MessageBoxTest, TheDetailStandsUnderTheTextAsPlainText) {
  ModalWatchdog watchdog;
  QString text, detail;
  bool plain = false;
  WhenModal([&](QDialog* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    detail = box->informativeText();
    // A path is shown as it is, never as markup.
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      if (label->text() == detail) plain = label->textFormat() == Qt::PlainText;
    }
    box->accept();
  });
  ShowMessageBox(nullptr, u"Error saving database file", u"<b>out</b>/tagl.txt: Permission denied");
  EXPECT_EQ(text, "Error saving database file");
  EXPECT_EQ(detail, "<b>out</b>/tagl.txt: Permission denied");
  EXPECT_TRUE(plain);
}

// Sets or (with null) removes environment variables for one scope.
class ScopedEnvironment {
 public:
  void Set(const char* name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST(RunMainDialogTest, KnowsWhenThereIsNoDisplayBeforeQtAborts) {
  ScopedEnvironment env;
  std::string reason;
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", nullptr);
  env.Set("WAYLAND_DISPLAY", nullptr);
  EXPECT_FALSE(DisplayLooksAvailable(&reason));
  EXPECT_EQ(reason, "DISPLAY is not set");

  env.Set("DISPLAY", "");  // set but empty counts as unset
  EXPECT_FALSE(DisplayLooksAvailable(&reason));
  env.Set("QT_QPA_PLATFORM", "xcb");
  EXPECT_FALSE(DisplayLooksAvailable(&reason));
  env.Set("DISPLAY", ":0");
  EXPECT_TRUE(DisplayLooksAvailable(&reason));

  env.Set("DISPLAY", nullptr);
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(DisplayLooksAvailable(&reason));
  env.Set("QT_QPA_PLATFORM", "wayland");
  EXPECT_TRUE(DisplayLooksAvailable(&reason));
  env.Set("WAYLAND_DISPLAY", nullptr);
  EXPECT_FALSE(DisplayLooksAvailable(&reason));
  EXPECT_EQ(reason, "WAYLAND_DISPLAY is not set");

  env.Set("QT_QPA_PLATFORM", "offscreen");
  EXPECT_TRUE(DisplayLooksAvailable(&reason));
}

}  // namespace
}  // namespace junctra
