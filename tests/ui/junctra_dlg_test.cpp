// The main dialog driven as a user would: Select, Merge, Exit, Escape and
// the window menu, with a fake folder chooser and recorded message boxes.
#include "ui/qt/junctra_dlg.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "tests/temp_dir.h"
#include "tests/ui/ui_test_support.h"

namespace junctra {
namespace {

constexpr int kExit = 1;  // the template's OK button

class JunctraDlgTest : public testing::Test {
 protected:
  DialogServices services() { return {&chooser_, &messages_}; }

  void Click(QWidget* dialog, int id) { ControlOf<QPushButton>(dialog, id)->click(); }

  std::filesystem::path Folder(const char* name) { return dir_.path() / name; }

  // Chooses the two folders with Select; true when Merge is then enabled.
  bool Select(QWidget* dialog, const std::filesystem::path& first,
              const std::filesystem::path& second) {
    chooser_.Answer(first);
    chooser_.Answer(second);
    Click(dialog, IDC_SELECT);
    return ControlOf<QPushButton>(dialog, IDC_MERGE)->isEnabled();
  }

  TempDir dir_;
  FakeFolderChooser chooser_;
  RecordingMessages messages_;
  ModalWatchdog watchdog_;
};

TEST_F(JunctraDlgTest, StartsWithEmptyFieldsAndMergeDisabled_ExitAndEscapeGiveTheirResults) {
  {
    CJunctraDlg dialog(nullptr, services());
    WhenModal([&](QDialog* modal) {
      EXPECT_EQ(modal, &dialog);
      EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_FIRST_FOLDER)->text(), "");
      EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_SECOND_FOLDER)->text(), "");
      EXPECT_FALSE(ControlOf<QPushButton>(modal, IDC_MERGE)->isEnabled());
      EXPECT_TRUE(ControlOf<QPushButton>(modal, IDC_SELECT)->isEnabled());
      EXPECT_EQ(modal->windowIcon().availableSizes().size(), 8);  // 16x16 to 256x256
      Click(modal, kExit);
    });
    EXPECT_EQ(dialog.DoModal(), 1);
  }
  {
    CJunctraDlg dialog(nullptr, services());
    WhenModal([](QDialog* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), 2);
  }
  {
    CJunctraDlg dialog(nullptr, services());
    WhenModal([](QDialog* modal) { modal->close(); });  // the close button
    EXPECT_EQ(dialog.DoModal(), 2);
  }
  {
    // Return presses the default button, Exit.
    CJunctraDlg dialog(nullptr, services());
    WhenModal([](QDialog* modal) { QTest::keyClick(modal, Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), 1);
  }
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(JunctraDlgTest, OneCommandLineFolderIsShownButRunsNothing) {
  CJunctraDlg dialog(nullptr, services());
  dialog.SetFolders("/some/where", {});
  WhenModal([&](QDialog* modal) {
    EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_FIRST_FOLDER)->text(), "/some/where");
    EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_SECOND_FOLDER)->text(), "");
    EXPECT_FALSE(ControlOf<QPushButton>(modal, IDC_MERGE)->isEnabled());
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(JunctraDlgTest, SelectAsksAgainUntilEachFolderIsADatabase_ThenReturnMerges) {
  WriteDatabase(Folder("a"), {{u"Alpha", 1, 2}});
  WriteDatabase(Folder("b"), {{u"Beta", 1, 2}});
  std::filesystem::create_directories(Folder("empty"));
  std::filesystem::create_directories(Folder("onlyclasses"));
  WriteUtf16File(Folder("onlyclasses") / "class.lst", u"//4.x - Classes\n");

  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    for (const char* answer : {"empty", "a", "a", "onlyclasses", "b"}) {
      chooser_.Answer(Folder(answer));
    }
    Click(modal, IDC_SELECT);
    EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_FIRST_FOLDER)->text(),
              PathToQString(Folder("a")) + "/");
    EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_SECOND_FOLDER)->text(),
              PathToQString(Folder("b")) + "/");
    // Return merges: Merge has the focus, Exit stays the default button.
    auto* merge = ControlOf<QPushButton>(modal, IDC_MERGE);
    EXPECT_EQ(modal->focusWidget(), merge);
    EXPECT_TRUE(ControlOf<QPushButton>(modal, kExit)->isDefault());
    chooser_.Answer(std::nullopt);
    QTest::keyClick(merge, Qt::Key_Return);
    EXPECT_EQ(chooser_.prompts.back(), u"Select new database folder:");

    chooser_.Answer(std::nullopt);  // a cancelled Select changes nothing
    Click(modal, IDC_SELECT);
    EXPECT_TRUE(merge->isEnabled());
    EXPECT_EQ(dialog.m_strSecondFolder, PathToQString(Folder("b")) + "/");
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);

  // What is asked and said is the shared logic's; here, that the dialog owns it.
  EXPECT_EQ(messages_.texts.size(), 3u);
  for (QWidget* owner : messages_.owners) EXPECT_EQ(owner, &dialog);
  for (QWidget* owner : chooser_.owners) EXPECT_EQ(owner, &dialog);
}

TEST_F(JunctraDlgTest, FieldsTooNarrowShowThePathsEndWithTheWholePathAsTooltip) {
  const auto a = Folder("a long folder that the field cannot show whole") / "plant a";
  const auto b = Folder("a long folder that the field cannot show whole") / "plant b";
  WriteDatabase(a, {{u"Alpha", 1, 2}});
  WriteDatabase(b, {{u"Beta", 1, 2}});
  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    EXPECT_TRUE(Select(modal, a, b));
    auto* field = ControlOf<QLineEdit>(modal, IDC_FIRST_FOLDER);
    EXPECT_GT(field->fontMetrics().horizontalAdvance(field->text()), field->width());
    field->grab();  // lays the text out as painted
    EXPECT_EQ(field->cursorPosition(), field->text().size());
    const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_GT(caret.x(), field->width() / 2);  // the end is in sight
    EXPECT_LE(caret.right(), field->width());
    EXPECT_EQ(field->toolTip(), PathToQString(a) + "/");
    // Read-only: the dialog's background, not a field to type into.
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(field->palette().color(QPalette::Base), modal->palette().color(QPalette::Window));
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
}

TEST_F(JunctraDlgTest, MergeWithConflictsShowsEveryLineOfTheErrorList) {
  WriteDatabase(Folder("a"), {{u"Level", 10, 2}, {u"Pump", 1, 2}, {u"Same", 5, 2}});
  WriteDatabase(Folder("b"), {{u"Level", 11, 2}, {u"Pump", 1, 3}, {u"Same", 5, 2}});
  std::filesystem::create_directories(Folder("out"));

  CJunctraDlg dialog(nullptr, services());
  QString shown;
  QString caption;
  WhenModal([&](QDialog* modal) {
    ASSERT_TRUE(Select(modal, Folder("a"), Folder("b")));
    WhenModal([&](QDialog* errors) {
      EXPECT_NE(errors, modal);
      caption = errors->windowTitle();
      auto* list = ControlOf<QListWidget>(errors, IDC_ERRORS);
      for (int i = 0; i < list->count(); ++i) shown += list->item(i)->text() + "\n";
      Click(errors, 1);
    });
    Click(modal, IDC_MERGE);
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);

  EXPECT_EQ(caption, "Error List");
  // One line per conflict, each followed by a line end.
  ASSERT_TRUE(shown.endsWith('\n'));
  QStringList lines = shown.split('\n');
  lines.removeLast();
  EXPECT_EQ(lines.size(), 2);
  for (const QString& line : lines) {
    EXPECT_TRUE(line == "Tag 'Level' has different definitions" ||
                line == "Tag 'Pump' has different definitions")
        << line.toStdString();
  }
  EXPECT_TRUE(chooser_.all_answered());
  EXPECT_EQ(chooser_.prompts.size(), 2u);  // no output folder asked
  EXPECT_FALSE(std::filesystem::exists(Folder("out") / "tagl.txt"));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(JunctraDlgTest, MergeAsksForTheOutputFolderAndWritesTheMergedFiles) {
  WriteDatabase(Folder("a"), {{u"Alpha", 1, 2}, {u"Shared", 3, 2}});
  WriteDatabase(Folder("b"), {{u"Beta", 2, 2}, {u"shared", 3, 2}});
  std::filesystem::create_directories(Folder("out"));

  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    ASSERT_TRUE(Select(modal, Folder("a"), Folder("b")));
    chooser_.Answer(Folder("out"));
    Click(modal, IDC_MERGE);
    // The run changes neither the shown folders nor the buttons; the result
    // shows under them.
    EXPECT_TRUE(ControlOf<QPushButton>(modal, IDC_MERGE)->isEnabled());
    const QString result = ControlOf<QLabel>(modal, IDC_RESULT)->text();
    EXPECT_TRUE(result.startsWith("Merged into " + PathToQString(Folder("out")) + ": "))
        << result.toStdString();
    EXPECT_TRUE(result.endsWith("(0 classes and 1 tag from the second database)."))
        << result.toStdString();
    chooser_.Answer(Folder("out"));  // the database there now is replaced when the user says so
    Click(modal, IDC_MERGE);
    EXPECT_EQ(messages_.questions.size(), 1u);
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);

  ASSERT_EQ(chooser_.prompts.size(), 4u);
  EXPECT_EQ(chooser_.prompts[2], u"Select new database folder:");
  EXPECT_TRUE(messages_.texts.empty());
  std::vector<std::u16string> names = ReadTagNames(Folder("out") / "tagl.txt");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Alpha", u"Beta", u"Shared"}));
  EXPECT_TRUE(std::filesystem::exists(Folder("out") / "class.lst"));
  // The inputs are untouched.
  EXPECT_EQ(ReadTagNames(Folder("b") / "tagl.txt"),
            (std::vector<std::u16string>{u"Beta", u"shared"}));
}

TEST_F(JunctraDlgTest, LongResultLineWrapsWhole_TheDialogGrowsAndTheTooltipHoldsTheText) {
  WriteDatabase(Folder("a"), {{u"Alpha", 1, 2}});
  WriteDatabase(Folder("b"), {{u"Beta", 2, 2}});
  const auto out = Folder("a folder whose name goes on and on") / "with-hyphens-and-more" /
                   "and-then-some-more-of-them" / "merged-output";
  std::filesystem::create_directories(out);
  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    ASSERT_TRUE(Select(modal, Folder("a"), Folder("b")));
    const int height = modal->height();
    chooser_.Answer(out);
    Click(modal, IDC_MERGE);
    auto* result = ControlOf<QLabel>(modal, IDC_RESULT);
    EXPECT_TRUE(result->toolTip().startsWith("Merged into " + PathToQString(out) + ": "));
    EXPECT_EQ(result->toolTip(), result->text());
    EXPECT_GT(modal->height(), height);
    EXPECT_GE(result->height(), result->heightForWidth(result->width()));
    EXPECT_LE(result->geometry().bottom(), modal->height());
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
}

TEST_F(JunctraDlgTest, FailedSaveShowsTheFileAndTheReasonUnderEachMessage) {
  WriteDatabase(Folder("a"), {{u"Alpha", 1, 2}});
  WriteDatabase(Folder("b"), {{u"Beta", 2, 2}});
  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    ASSERT_TRUE(Select(modal, Folder("a"), Folder("b")));
    chooser_.Answer(Folder("missing"));
    Click(modal, IDC_MERGE);
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(messages_.texts, (std::vector<std::u16string>{u"Error saving class file",
                                                          u"Error saving database file"}));
  EXPECT_EQ(messages_.details,
            (std::vector<std::u16string>{
                PathToUtf16(Folder("missing") / "class.lst") + u": No such file or directory",
                PathToUtf16(Folder("missing") / "tagl.txt") + u": No such file or directory"}));
}

TEST_F(JunctraDlgTest, CancelledOutputFolderWritesNothingAndMergeReadsAnewNextTime) {
  WriteDatabase(Folder("a"), {{u"Alpha", 1, 2}});
  WriteDatabase(Folder("b"), {{u"Beta", 2, 2}});
  std::filesystem::create_directories(Folder("out"));

  CJunctraDlg dialog(nullptr, services());
  QString shown;
  WhenModal([&](QDialog* modal) {
    ASSERT_TRUE(Select(modal, Folder("a"), Folder("b")));
    chooser_.Answer(std::nullopt);
    Click(modal, IDC_MERGE);
    EXPECT_TRUE(std::filesystem::is_empty(Folder("out")));

    WriteDatabase(Folder("b"), {{u"Alpha", 9, 2}});
    WhenModal([&](QDialog* errors) {
      auto* list = ControlOf<QListWidget>(errors, IDC_ERRORS);
      for (int i = 0; i < list->count(); ++i) shown += list->item(i)->text() + "\n";
      QTest::keyClick(errors, Qt::Key_Escape);
    });
    Click(modal, IDC_MERGE);
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(shown, "Tag 'Alpha' has different definitions\n");
  EXPECT_TRUE(std::filesystem::is_empty(Folder("out")));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(JunctraDlgTest, WindowMenuHoldsMoveCloseAndAboutWhichOpensTheAboutBox) {
  CJunctraDlg dialog(nullptr, services());
  QString about_caption;
  WhenModal([&](QDialog* modal) {
    modal->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(modal));
    // The program's own top-level window, transient for none.
    EXPECT_EQ(modal->windowType(), Qt::Window);
    EXPECT_EQ(modal->windowHandle()->transientParent(), nullptr);
    QMenu* menu = dialog.window_menu().menu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "&Move");
    EXPECT_EQ(actions[1]->text(), "&Close");
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), "&About Junctra...");

    // Alt+Space and a right click on the background open it.
    QTest::keyClick(modal, Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(150, 5),
                                  modal->mapToGlobal(QPoint(150, 5)));
    QApplication::sendEvent(modal, &right_click);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    // Move moves the window by arrow keys until Return; Escape puts it back.
    const QPoint start = modal->pos();
    actions[0]->trigger();
    EXPECT_TRUE(dialog.window_menu().moving());
    for (const auto key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down}) QTest::keyClick(modal, key);
    QTest::keyClick(modal, Qt::Key_Return);
    EXPECT_FALSE(dialog.window_menu().moving());
    EXPECT_EQ(modal->pos(), start + QPoint(16, 8));
    actions[0]->trigger();
    QTest::keyClick(modal, Qt::Key_Up);
    QTest::keyClick(modal, Qt::Key_Escape);
    EXPECT_EQ(modal->pos(), start + QPoint(16, 8));
    EXPECT_EQ(QApplication::activeModalWidget(), modal);  // Escape did not cancel the dialog

    WhenModal([&](QDialog* about) {
      about_caption = about->windowTitle();
      EXPECT_EQ(about->windowType(), Qt::Dialog);  // transient for the main window
      Click(about, 1);
    });
    actions[3]->trigger();
    // Back in the main dialog, which still waits.
    EXPECT_EQ(QApplication::activeModalWidget(), modal);
    actions[1]->trigger();  // Close cancels
  });
  EXPECT_EQ(dialog.DoModal(), 2);
  EXPECT_EQ(about_caption, "About Junctra");
}

// Window managers take Alt+Space: F1 and a button open the About box too.
// Every control has a name for screen readers.
TEST_F(JunctraDlgTest, F1AndTheAboutButtonOpenTheAboutBox_EveryControlIsNamed) {
  CJunctraDlg dialog(nullptr, services());
  int opened = 0;
  WhenModal([&](QDialog* modal) {
    modal->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(modal));
    EXPECT_EQ(UnnamedControls(modal), "");
    EXPECT_EQ(ControlOf<QLineEdit>(modal, IDC_BASE_FOLDER)->accessibleName(),
              "Common Ancestor Folder");
    auto* about = ControlOf<QPushButton>(modal, IDC_ABOUT);
    for (const bool by_key : {true, false}) {
      WhenModal([&](QDialog* box) {
        EXPECT_EQ(box->windowTitle(), "About Junctra");
        ++opened;
        QTest::keyClick(box, Qt::Key_Escape);
      });
      by_key ? QTest::keyClick(modal, Qt::Key_F1) : about->click();
    }
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(opened, 2);
}

TEST_F(JunctraDlgTest, NoAboutEntryNorSeparatorWhenString101IsEmpty) {
  const JunctraResourceTable* built_in = ResourceModule::BuiltIn().table();
  std::vector<JunctraString> strings;
  for (std::size_t i = 0; i < built_in->string_count; ++i) {
    JunctraString entry = built_in->strings[i];
    if (entry.id == IDS_ABOUTBOX) entry.text = "";
    strings.push_back(entry);
  }
  JunctraResourceTable table = *built_in;
  table.strings = strings.data();
  const ResourceModule module(&table);
  SetCurrentResourceModule(&module);

  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    EXPECT_EQ(dialog.window_menu().menu()->actions().size(), 2);
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  SetCurrentResourceModule(nullptr);
}

TEST_F(JunctraDlgTest, MnemonicsWorkWithAlt) {
  WriteDatabase(Folder("a"), {{u"Alpha", 1, 2}});
  WriteDatabase(Folder("b"), {{u"Beta", 2, 2}});
  CJunctraDlg dialog(nullptr, services());
  WhenModal([&](QDialog* modal) {
    modal->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(modal));
    chooser_.Answer(Folder("a"));
    chooser_.Answer(Folder("b"));
    QTest::keyClick(modal, Qt::Key_S, Qt::AltModifier);  // &Select...
    // A mnemonic clicks its button after a short animation.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ControlOf<QPushButton>(modal, IDC_MERGE)->isEnabled(); }));
    QTest::keyClick(modal, Qt::Key_X, Qt::AltModifier);  // E&xit
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_TRUE(chooser_.all_answered());
}

TEST_F(JunctraDlgTest, KeyboardChoosesTheAncestorAndDecidesTheConflictsThatRemain) {
  WriteDatabase(Folder("base"), {{u"Level", 1, 2}, {u"Pump", 5, 2}});
  WriteDatabase(Folder("a"), {{u"Level", 2, 2}, {u"Pump", 6, 2}});
  WriteDatabase(Folder("b"), {{u"Level", 3, 2}, {u"Pump", 7, 2}});
  std::filesystem::create_directories(Folder("out"));

  CJunctraDlg dialog(nullptr, services());
  // A mnemonic works in the active window and clicks its button after a
  // short animation.
  auto press = [](QWidget* window, Qt::Key key) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }));
    QTest::keyClick(window, key, Qt::AltModifier);
  };
  WhenModal([&](QDialog* modal) {
    ASSERT_TRUE(Select(modal, Folder("a"), Folder("b")));
    auto* base = ControlOf<QLineEdit>(modal, IDC_BASE_FOLDER);
    chooser_.Answer(Folder("base"));
    press(modal, Qt::Key_A);  // &Ancestor...
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return base->text() == PathToQString(Folder("base")) + "/"; }));

    // Both changed each tag: two conflicts, decided one for each side.
    WhenModal([&](QDialog* errors) {
      auto* list = ControlOf<QListWidget>(errors, IDC_ERRORS);
      auto* merge = ControlOf<QPushButton>(errors, IDC_MERGE_DECIDED);
      EXPECT_EQ(ControlOf<QLineEdit>(errors, IDC_DETAIL_BASE)->text(), "1");
      press(errors, Qt::Key_F);  // Take &first
      ASSERT_TRUE(QTest::qWaitFor([&] { return list->item(0)->text().startsWith("[first] "); }));
      QTest::keyClick(errors->focusWidget(), Qt::Key_Down);  // the list's
      press(errors, Qt::Key_S);                              // Take &second
      ASSERT_TRUE(QTest::qWaitFor([&] { return merge->isEnabled(); }));
      chooser_.Answer(Folder("out"));
      press(errors, Qt::Key_M);  // &Merge with these choices...
    });
    Click(modal, IDC_MERGE);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ControlOf<QLabel>(modal, IDC_RESULT)->text().endsWith("2 decided)."); }));
    press(modal, Qt::Key_C);  // &Clear
    EXPECT_TRUE(QTest::qWaitFor([&] { return base->text().isEmpty(); }));
    Click(modal, kExit);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_TRUE(chooser_.all_answered());
}

}  // namespace
}  // namespace junctra
