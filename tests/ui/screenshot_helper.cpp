// Shows one of the real dialogs for scripts/screenshots.sh: the main dialog
// after Select, a common ancestor and a Merge (its result line), the error
// list after a three-way Merge with conflicts, one of them decided, the
// About box, Qt's folder chooser as Select's second
// question, or the window menu opened with Alt+Space. Once the window is on
// screen it prints its frame geometry as WIDTHxHEIGHT+X+Y, waits two
// seconds for the script to grab the screen, and ends. With a satellite,
// Qt's own texts follow it too: the culture is the name of its folder.
//
//   ui_screenshot_helper main|errors|about|chooser|menu [SATELLITE.so]
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/env.h"
#include "platform/resource_module.h"
#include "tests/ui/demo_databases.h"
#include "ui/qt/dialog_builder.h"
#include "ui/qt/junctra_dlg.h"
#include "ui/qt/qt_settings.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_translations.h"

namespace junctra {
namespace {

class ScriptedChooser : public FolderChooser {
 public:
  void Answer(const std::filesystem::path& path) { answers_.push_back(path); }
  bool BrowseForFolder(QWidget*, std::filesystem::path& result, const std::u16string&,
                       const std::filesystem::path&, FolderUse) override {
    if (answers_.empty()) return false;
    result = answers_.front();
    answers_.pop_front();
    return true;
  }

 private:
  std::deque<std::filesystem::path> answers_;
};

class SilentMessages : public MessageBoxService {
 public:
  void ShowMessage(QWidget*, const std::u16string&, const std::u16string& = {}) override {}
  bool AskReplace(QWidget*, const std::u16string&) override { return true; }
};

// Prints the geometry of what should be grabbed once the window is mapped
// and decorated, then closes the dialog a little later.
void ReportWhenShown(QDialog* dialog, std::function<QRect()> area = {}) {
  QTimer::singleShot(1500, dialog, [dialog, area] {
    const QRect frame = area ? area() : dialog->frameGeometry();
    std::printf("%dx%d+%d+%d\n", frame.width(), frame.height(), frame.x(), frame.y());
    std::fflush(stdout);
    QTimer::singleShot(2000, dialog, [dialog] { dialog->done(1); });
  });
}

void WhenModal(std::function<void(QDialog*)> action) {
  QTimer::singleShot(0, [action] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) action(dialog);
  });
}

// A short temporary folder, so that the folder fields show whole paths.
class DemoFolder {
 public:
  DemoFolder() {
    std::string pattern = "/tmp/plants-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~DemoFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

int Run(const std::string& which) {
  DemoFolder dir;
  const DemoFolders demo = WriteDemoDatabases(dir.path());
  ScriptedChooser chooser;
  SilentMessages messages;
  chooser.Answer(demo.first);
  chooser.Answer(which == "errors" ? demo.conflicting : demo.second);
  chooser.Answer(demo.base);
  chooser.Answer(demo.merged);
  // The chooser is Qt's own; its first answer is given by script.
  FolderChooser* folders = which == "chooser" ? DefaultDialogServices().folders : &chooser;
  CJunctraDlg dialog(nullptr, {folders, &messages});
  WhenModal([&](QDialog* main) {
    if (which == "chooser") {
      // Select's second question, which opens beside the first choice.
      WhenModal([&](QDialog* first) {
        WhenModal([](QDialog* second) { ReportWhenShown(second); });
        auto* files = qobject_cast<QFileDialog*>(first);
        files->setDirectory(PathToQString(dir.path()));
        files->selectFile(PathToQString(demo.first));
        QMetaObject::invokeMethod(files, "accept");
      });
      qobject_cast<QPushButton*>(FindControl(main, 1000))->click();
      main->reject();
      return;
    }
    qobject_cast<QPushButton*>(FindControl(main, 1000))->click();
    qobject_cast<QPushButton*>(FindControl(main, 1014))->click();  // the common ancestor
    if (which == "menu") {
      QMenu* menu = dialog.window_menu().menu();
      dialog.window_menu().PopupAtWindowCorner();
      ReportWhenShown(main,
                      [main, menu] { return main->frameGeometry().united(menu->geometry()); });
    } else if (which == "main") {
      // The merge's result line under the fields.
      qobject_cast<QPushButton*>(FindControl(main, 1005))->click();
      ReportWhenShown(main);
    } else if (which == "errors") {
      WhenModal([](QDialog* errors) {
        qobject_cast<QPushButton*>(FindControl(errors, 1018))->click();  // Take first
        ReportWhenShown(errors);
      });
      qobject_cast<QPushButton*>(FindControl(main, 1005))->click();
      main->reject();
    } else {
      WhenModal([](QDialog* about) { ReportWhenShown(about); });
      dialog.window_menu().menu()->actions().last()->trigger();
      main->reject();
    }
  });
  dialog.DoModal();
  return 0;
}

}  // namespace
}  // namespace junctra

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s main|errors|about|chooser|menu [SATELLITE.so]\n", argv[0]);
    return 2;
  }
  junctra::KeepQtSettingsOffDisk();
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("junctra"));
  std::unique_ptr<junctra::Library> library;
  std::optional<junctra::ResourceModule> module;
  if (argc > 2) {
    library = junctra::Env::Default()->LoadLibrary(std::filesystem::absolute(argv[2]));
    auto entry = library ? reinterpret_cast<JunctraResourceTableFunction>(
                               library->Symbol(JUNCTRA_RESOURCE_ENTRY_POINT))
                         : nullptr;
    if (entry == nullptr) {
      std::fprintf(stderr, "%s: cannot load %s\n", argv[0], argv[2]);
      return 2;
    }
    module.emplace(entry());
    junctra::SetCurrentResourceModule(&*module);
  }
  const std::filesystem::path satellite = argc > 2 ? argv[2] : "";
  const junctra::QtTranslations qt_texts(
      satellite.empty() ? u"" : satellite.parent_path().filename().u16string());
  const int result = junctra::Run(argv[1]);
  junctra::SetCurrentResourceModule(nullptr);
  return result;
}
