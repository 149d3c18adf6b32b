// Shows one of the real dialogs for scripts/screenshots.sh: the main dialog
// after Select and a Merge (its result line), the error list after a Merge
// with conflicts, the About box, Qt's folder chooser as Select's second
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
                       const std::filesystem::path&) override {
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
};

struct DemoTag {
  std::u16string name;
  int number;
  std::u16string alarm = {};  // one line of the Alarm section
};

void WriteTags(const std::filesystem::path& folder, const std::vector<DemoTag>& tags) {
  std::filesystem::create_directories(folder);
  std::u16string text = u"//4.x - Application Tags\n";
  int sequence = 1;
  for (const auto& [name, number, alarm] : tags) {
    text += u"#" + Utf8ToUtf16(std::to_string(sequence++)) + u"|" + name + u"|" +
            Utf8ToUtf16(std::to_string(number)) + u"|2|\n#Parameters\n#Alarm\n";
    if (!alarm.empty()) text += alarm + u"\n";
    text += u"#History\n";
  }
  text += u"#";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    if (c == u'\n') bytes += std::string("\r\0", 2);
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  std::FILE* file = std::fopen((folder / "tagl.txt").c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

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
  const std::filesystem::path north = dir.path() / "north";
  const std::filesystem::path south = dir.path() / "south";
  WriteTags(north, {{u"Boiler_Level", 10},
                    {u"Feed_Pump", 3},
                    {u"Steam_Flow", 7},
                    {u"Drum_Pressure", 4},
                    {u"Valve_12", 1}});
  if (which == "errors") {
    WriteTags(south, {{u"Boiler_Level", 11},
                      {u"Feed_Pump", 5},
                      {u"Steam_Flow", 7},
                      {u"Drum_Pressure", 4, u"Hi|85|1|Drum pressure high"},
                      {u"Condenser_Temperature_Downstream_Bypass", 2}});
    WriteTags(north, {{u"Boiler_Level", 10},
                      {u"Feed_Pump", 3},
                      {u"Steam_Flow", 7},
                      {u"Drum_Pressure", 4, u"Hi|80|1|Drum pressure high"},
                      {u"Condenser_Temperature_Downstream_Bypass", 1}});
  } else {
    WriteTags(south, {{u"Cooling_Fan", 2}, {u"Steam_Flow", 7}});
  }

  ScriptedChooser chooser;
  SilentMessages messages;
  chooser.Answer(north);
  chooser.Answer(south);
  const std::filesystem::path merged = dir.path() / "merged";
  std::filesystem::create_directories(merged);
  chooser.Answer(merged);
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
        files->selectFile(PathToQString(north));
        QMetaObject::invokeMethod(files, "accept");
      });
      qobject_cast<QPushButton*>(FindControl(main, 1000))->click();
      main->reject();
      return;
    }
    qobject_cast<QPushButton*>(FindControl(main, 1000))->click();
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
      WhenModal([](QDialog* errors) { ReportWhenShown(errors); });
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
