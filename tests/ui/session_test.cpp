// A whole interactive session through the program's own entry for the
// dialogs, with Qt's real folder chooser: Select both folders, Merge, Exit.
// The user's home is new and empty; afterwards it must still be empty, and
// the only files written must be the two merged ones.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/temp_dir.h"
#include "tests/ui/ui_test_support.h"
#include "ui/qt/qt_text.h"
#include "ui/run_main_dialog.h"

namespace junctra {
namespace {

// Runs once the dialog code has created its QApplication.
std::function<void()> g_script;
void RunScript() {
  if (g_script) std::exchange(g_script, nullptr)();
}

// Every file and folder under root, relative to it.
std::vector<std::string> Entries(const std::filesystem::path& root) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    entries.push_back(std::filesystem::relative(entry.path(), root).string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

// Answers the next folder chooser with folder, noting where it opened.
void ChooseWhenAsked(const std::filesystem::path& folder, std::vector<QString>* opened_in,
                     std::function<void()> then = {}) {
  WhenModal([=](QDialog* modal) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(chooser, nullptr);
    opened_in->push_back(chooser->directory().absolutePath());
    if (then) then();
    chooser->setDirectory(PathToQString(folder.parent_path()));
    chooser->selectFile(PathToQString(folder));
    QMetaObject::invokeMethod(chooser, "accept");
  });
}

class SessionTest : public testing::TestWithParam<const char16_t*> {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) qAddPreRoutine(RunScript);
    registered = true;
    // A new user: every place Qt might keep something lies in home. The
    // runtime folder exists, as the login makes it; Qt makes one itself
    // where it does not.
    setenv("HOME", home_.path().c_str(), 1);
    for (const auto& [name, folder] : {std::pair{"XDG_CONFIG_HOME", ".config"},
                                       {"XDG_CACHE_HOME", ".cache"},
                                       {"XDG_DATA_HOME", ".local/share"},
                                       {"XDG_STATE_HOME", ".local/state"}}) {
      setenv(name, (home_.path() / folder).c_str(), 1);
    }
    setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
  }

  TempDir home_, runtime_, data_;
};

TEST_P(SessionTest, SelectMergeExitWritesNothingButTheMergedFiles) {
  const auto a = data_.path() / "plants" / "a";
  const auto b = data_.path() / "others" / "b";
  const auto out = data_.path() / "out";
  WriteDatabase(a, {{u"Alpha", 1, 2}});
  WriteDatabase(b, {{u"Beta", 2, 2}});
  std::filesystem::create_directories(out);

  std::vector<QString> opened_in;
  Qt::WindowType main_type = Qt::Widget;
  g_script = [&] {
    // A dialog nobody closes fails the test instead of hanging it.
    auto* watchdog = new QTimer(qApp);
    QObject::connect(watchdog, &QTimer::timeout, [] {
      if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "left open: " << modal->windowTitle().toStdString();
        modal->done(-99);
      }
    });
    watchdog->start(10000);
    WhenModal([&](QDialog* main) {
      main_type = main->windowType();
      ChooseWhenAsked(a, &opened_in, [&] { ChooseWhenAsked(b, &opened_in); });
      ControlOf<QPushButton>(main, IDC_SELECT)->click();
      ChooseWhenAsked(out, &opened_in);
      ControlOf<QPushButton>(main, IDC_MERGE)->click();
      ControlOf<QPushButton>(main, 1)->click();  // Exit
    });
  };
  int argc = 1;
  char name[] = "junctra";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(RunMainDialog(argc, argv, {}, GetParam()), 1);

  EXPECT_EQ(Entries(home_.path()), std::vector<std::string>{});
  EXPECT_EQ(Entries(runtime_.path()), std::vector<std::string>{});
  EXPECT_EQ(
      Entries(data_.path()),
      (std::vector<std::string>{"others", "others/b", "others/b/tagl.txt", "out", "out/class.lst",
                                "out/tagl.txt", "plants", "plants/a", "plants/a/tagl.txt"}));
  std::vector<std::u16string> merged = ReadTagNames(out / "tagl.txt");
  std::sort(merged.begin(), merged.end());
  EXPECT_EQ(merged, (std::vector<std::u16string>{u"Alpha", u"Beta"}));
  // The second chooser opens where the first folder was, the output chooser
  // beside the second folder.
  ASSERT_EQ(opened_in.size(), 3u);
  EXPECT_EQ(opened_in[1], PathToQString(a.parent_path()));
  EXPECT_EQ(opened_in[2], PathToQString(b.parent_path()));
  // The program's own top-level window, not a dialog transient for another.
  EXPECT_EQ(main_type, Qt::Window);
}

INSTANTIATE_TEST_SUITE_P(EnglishAndGerman, SessionTest, testing::Values(u"", u"de-DE"));

}  // namespace
}  // namespace junctra
