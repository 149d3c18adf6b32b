// The error list dialog, the About box, and the dialogs in German.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/resource_module.h"
#include "tests/temp_dir.h"
#include "tests/ui/ui_test_support.h"
#include "ui/qt/about_dlg.h"
#include "ui/qt/dialog_services.h"
#include "ui/qt/display.h"
#include "ui/qt/error_dlg.h"
#include "ui/qt/junctra_dlg.h"
#include "ui/qt/qt_translations.h"

namespace junctra {
namespace {

constexpr int kErrorsList = 1006;

// The list's entries, each followed by "\n".
QString ListText(QDialog* modal) {
  QString text;
  auto* list = ControlOf<QListWidget>(modal, kErrorsList);
  for (int i = 0; i < list->count(); ++i) text += list->item(i)->text() + "\n";
  return text;
}

QString ErrorText(const ConflictList& conflicts, std::function<void(QDialog*)> close,
                  int* result = nullptr) {
  CErrorDlg dialog(conflicts, nullptr);
  QString text;
  WhenModal([&](QDialog* modal) {
    text = ListText(modal);
    close(modal);
  });
  const int ended = dialog.DoModal();
  if (result != nullptr) *result = ended;
  return text;
}

void ClickOk(QDialog* dialog) { ControlOf<QPushButton>(dialog, 1)->click(); }

TEST(ErrorDlgTest, EveryLineIsAnEntryInListOrder) {
  ModalWatchdog watchdog;
  ConflictList conflicts;
  for (const char16_t* line :
       {u"Class 'Motor' has different definitions", u"Tag 'Zeta' has different definitions",
        u"Tag 'Alpha' has different definitions", u"Tag 'Alpha' has different definitions"}) {
    conflicts.push_back({.line = line});
  }
  int result = 0;
  const QString text = ErrorText(conflicts, ClickOk, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(text,
            "Class 'Motor' has different definitions\nTag 'Zeta' has different definitions\n"
            "Tag 'Alpha' has different definitions\nTag 'Alpha' has different definitions\n");
  EXPECT_EQ(ErrorText(
                {}, [](QDialog* modal) { QTest::keyClick(modal, Qt::Key_Escape); }, &result),
            "");
  EXPECT_EQ(result, 2);
}

TEST(ErrorDlgTest, ArrowKeysShowEachDetailMarkedAndCopyTakesTheWholeReport) {
  ModalWatchdog watchdog;
  const ConflictList conflicts = {
      {.line = u"Tag 'A' has different definitions",
       .detail = {.part = u"Alarm line 2", .first = u"\"Hi|80|1\"", .second = u"\"Hi|85|1\""}},
      {.line = u"Class 'C' has different definitions",
       .detail = {.part = u"Member count", .first = u"2", .second = u"3"}}};
  CErrorDlg errors(conflicts, nullptr);
  struct Shown {
    QString part, first, second, first_mark, second_mark;
  };
  std::vector<Shown> shown;
  auto look = [&](QDialog* modal) {
    auto mark = [](QPlainTextEdit* pane) {
      const auto marks = pane->extraSelections();
      return marks.isEmpty() ? QString() : marks.front().cursor.selectedText();
    };
    auto* first = ControlOf<QPlainTextEdit>(modal, 1007);
    auto* second = ControlOf<QPlainTextEdit>(modal, 1008);
    shown.push_back({ControlOf<QLabel>(modal, 1010)->text(), first->toPlainText(),
                     second->toPlainText(), mark(first), mark(second)});
  };
  WhenModal([&](QDialog* modal) {
    auto* list = ControlOf<QListWidget>(modal, kErrorsList);
    EXPECT_TRUE(ControlOf<QLineEdit>(modal, 1017)->isHidden());  // no ancestor: two-way
    look(modal);
    QTest::keyClick(list, Qt::Key_Down);
    look(modal);
    QTest::keyClick(list, Qt::Key_Up);
    look(modal);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    const QString by_key = QGuiApplication::clipboard()->text();
    QGuiApplication::clipboard()->clear();
    ControlOf<QPushButton>(modal, 1009)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), by_key);
    EXPECT_EQ(by_key,
              "Can not merge databases due to the following inconsistencies:\n"
              "Tag 'A' has different definitions\n"
              "  Alarm line 2: first \"Hi|80|1\", second \"Hi|85|1\"\n"
              "Class 'C' has different definitions\n"
              "  Member count: first 2, second 3\n");
    QTest::keyClick(modal, Qt::Key_Return);  // the default button, OK
  });
  EXPECT_EQ(errors.DoModal(), 1);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].part, "Alarm line 2");
  EXPECT_EQ(shown[0].first, "\"Hi|80|1\"");
  EXPECT_EQ(shown[0].first_mark, "0");
  EXPECT_EQ(shown[0].second_mark, "5");
  EXPECT_EQ(shown[1].part, "Member count");
  EXPECT_EQ(shown[1].second, "3");
  EXPECT_EQ(shown[1].second_mark, "3");
  EXPECT_EQ(shown[2].part, shown[0].part);
}

// Long definitions wrap in their panes and the mark is scrolled into view;
// screen readers get every control's name and the mark as description.
TEST(ErrorDlgTest, LongDetailsWrapWithTheMarkInSightAndEveryControlIsNamed) {
  ModalWatchdog watchdog;
  const std::u16string same(400, u'x');
  const ConflictList conflicts = {{.line = u"Tag 'A' has different definitions",
                                   .detail = {.part = u"Rest of the tag line",
                                              .first = same + u"|80|end",
                                              .second = same + u"|85|end"}}};
  CErrorDlg errors(conflicts, nullptr);
  WhenModal([&](QDialog* modal) {
    for (const int id : {1007, 1008}) {
      auto* pane = ControlOf<QPlainTextEdit>(modal, id);
      EXPECT_EQ(pane->horizontalScrollBar()->maximum(), 0);  // wrapped
      QTextCursor mark(pane->document());
      mark.setPosition(402);  // "0" against "5"
      EXPECT_TRUE(pane->viewport()->rect().contains(pane->cursorRect(mark)));
      EXPECT_EQ(pane->accessibleDescription(),
                id == 1007 ? "Marked difference: 0" : "Marked difference: 5");
    }
    EXPECT_EQ(UnnamedControls(modal), "");
    EXPECT_EQ(ControlOf<QPlainTextEdit>(modal, 1008)->accessibleName(), "Second database");
    ClickOk(modal);
  });
  EXPECT_EQ(errors.DoModal(), 1);
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
    EXPECT_EQ(texts.size(), 4);
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
    chooser.Answer(dir.path() / "a");  // the same again: asked again
    chooser.Answer(dir.path() / "b");
    ControlOf<QPushButton>(modal, 1000)->click();
    WhenModal([&](QDialog* errors) {
      errors_caption = errors->windowTitle();
      errors_text = ListText(errors);
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

// What a user reads in Qt's folder chooser: labels, buttons, column headers.
QStringList ChooserTexts() {
  QStringList texts;
  WhenModal([&](QDialog* modal) {
    for (const QLabel* label : modal->findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
      if (!button->text().isEmpty()) texts << button->text();
    }
    const QAbstractItemModel* files = modal->findChild<QTreeView*>()->model();
    for (int column = 0; column < files->columnCount(); ++column) {
      texts << files->headerData(column, Qt::Horizontal).toString();
    }
    modal->reject();
  });
  std::filesystem::path ignored;
  BrowseForFolder(nullptr, ignored, u"prompt");
  return texts;
}

// The modification date the chooser shows for the one folder in folder.
QString ChooserDate(const std::filesystem::path& folder) {
  QString date;
  WhenModal([&](QDialog* modal) {
    auto* view = modal->findChild<QTreeView*>();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }));
    date = view->model()->index(0, 3, view->rootIndex()).data().toString();
    modal->reject();
  });
  std::filesystem::path ignored;
  BrowseForFolder(nullptr, ignored, u"prompt", folder);
  return date;
}

// The window menu's entries and an edit field's own menu.
QStringList MenuTexts() {
  QStringList texts;
  CJunctraDlg dialog(nullptr, {nullptr, nullptr});
  for (const QAction* action : dialog.window_menu().menu()->actions()) texts << action->text();
  QLineEdit field;
  const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
  for (const QAction* action : menu->actions()) texts << action->text();
  return texts;
}

// No two controls of a dialog, nor two entries of the window menu, share a
// mnemonic letter, in either language: the letter would pick the first and
// Return would then press it.
TEST_F(GermanTest, NoTwoControlsOfAWindowShareAMnemonic) {
  const QtTranslations qt_texts(u"de-DE");
  for (const ResourceModule* module : {&ResourceModule::BuiltIn(), german_}) {
    std::map<std::string, QStringList> windows;
    const JunctraResourceTable* table = module->table();
    for (std::size_t d = 0; d < table->dialog_count; ++d) {
      const JunctraDialog& dialog = table->dialogs[d];
      QStringList& texts = windows["dialog " + std::to_string(dialog.id)];
      for (std::size_t c = 0; c < dialog.control_count; ++c) {
        const JunctraControl& control = dialog.controls[c];
        if (!(control.style & JUNCTRA_SS_NOPREFIX)) texts << ToQString(control.text);
      }
      if (dialog.id == IDD_JUNCTRA_DIALOG) texts << ToQString(module->LoadString(IDS_ABOUT_BUTTON));
    }
    SetCurrentResourceModule(module);
    CJunctraDlg main(nullptr, {nullptr, nullptr});
    WhenModal([&](QDialog* modal) {
      for (const QAction* action : main.window_menu().menu()->actions()) {
        windows["window menu"] << action->text();
      }
      modal->reject();
    });
    main.DoModal();
    for (const auto& [window, texts] : windows) {
      std::map<QKeySequence, QString> taken;
      for (const QString& text : texts) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty()) continue;
        const auto [at, fresh] = taken.emplace(key, text);
        EXPECT_TRUE(fresh) << window << ": " << text.toStdString() << " and "
                           << at->second.toStdString();
      }
    }
  }
}

TEST_F(GermanTest, QtsOwnTextsAreGermanWhenItsTranslationIsLoaded) {
  const QStringList english_chooser = ChooserTexts();
  const QStringList english_menus = MenuTexts();
  ASSERT_TRUE(english_chooser.contains("&Choose"));
  ASSERT_TRUE(english_menus.contains("&Move"));
  {
    const QtTranslations qt_texts(u"de-DE");
    ASSERT_TRUE(qt_texts.loaded()) << "Qt's translations (qt6-translations-l10n) are missing";
    const QStringList chooser = ChooserTexts();
    const QStringList menus = MenuTexts();
    EXPECT_TRUE(chooser.contains("Suchen in:") && chooser.contains("&Auswählen") &&
                chooser.contains("Abbrechen") && chooser.contains("Änderungsdatum"))
        << chooser.join(" | ").toStdString();
    EXPECT_TRUE(menus.contains("Ver&schieben") && menus.contains("Schl&ießen") &&
                !menus.filter("&Kopieren").isEmpty() && !menus.filter("Alles auswählen").isEmpty())
        << menus.join(" | ").toStdString();
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "db");
    const QDateTime modified = QFileInfo(PathToQString(dir.path() / "db")).lastModified();
    EXPECT_EQ(ChooserDate(dir.path()),
              QLocale(QLocale::German, QLocale::Germany).toString(modified, QLocale::ShortFormat));
    // No English word left; "Name" is German too.
    for (const QString& text : chooser + menus) {
      if (!text.isEmpty() && text != "Name") {
        EXPECT_FALSE(english_chooser.contains(text) || english_menus.contains(text))
            << text.toStdString();
      }
    }
  }
  EXPECT_EQ(ChooserTexts(), english_chooser);  // removed again with the object
  // Without a translation for the culture Qt's texts stay English.
  const QtTranslations none(u"xx-YY");
  EXPECT_FALSE(none.loaded());
  EXPECT_EQ(MenuTexts(), english_menus);
}

TEST(BrowseForFolderTest, DirectoryChooserWithThePromptAsTitleOnTheScreen) {
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
    EXPECT_TRUE(chooser->screen()->availableGeometry().contains(chooser->geometry()));
    chooser->reject();
  });
  EXPECT_FALSE(BrowseForFolder(nullptr, result, u"Select new database folder:"));
  EXPECT_EQ(title, "Select new database folder");
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

TEST(MessageBoxTest, ReplacingADatabaseAsksWithCancelAsTheDefault) {
  ModalWatchdog watchdog;
  for (const bool replace : {false, true}) {
    WhenModal([&](QDialog* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      ASSERT_EQ(box->buttons().size(), 2);
      EXPECT_EQ(box->defaultButton()->text(), "Cancel");
      for (QAbstractButton* button : box->buttons()) {
        if (replace && button->text() == "&Replace") button->click();
      }
      if (!replace) QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(AskReplaceBox(nullptr, u"Replace?"), replace);
  }
  // Only the output's chooser may make a new folder.
  for (const FolderUse use : {FolderUse::kRead, FolderUse::kWrite}) {
    WhenModal([&](QDialog* modal) {
      auto* chooser = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(chooser, nullptr);
      EXPECT_EQ(chooser->testOption(QFileDialog::ReadOnly), use == FolderUse::kRead);
      chooser->reject();
    });
    std::filesystem::path ignored;
    BrowseForFolder(nullptr, ignored, u"prompt", {}, use);
  }
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
