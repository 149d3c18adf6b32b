#include "ui/run_main_dialog.h"
#include "ui/qt/display.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "resources/resource_ids.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/junctra_dlg.h"
#include "ui/qt/qt_settings.h"
#include "ui/qt/qt_translations.h"

namespace junctra {
namespace {

std::string ProgramName(char** argv) {
  if (argv == nullptr || argv[0] == nullptr) return "junctra";
  return std::filesystem::path(argv[0]).filename().string();
}

std::optional<std::string> Variable(const char* name) {
  std::optional<std::string> value = Env::Default()->GetEnvironmentVariable(name);
  if (value && value->empty()) value.reset();
  return value;
}

std::string g_program_name;

// A string-table text with UTF-8 arguments, in UTF-8.
std::string Text(unsigned id, const std::string& arg1, const std::string& arg2 = {}) {
  return Utf16ToUtf8(FormatMessage(LoadResourceString(id), Utf8ToUtf16(arg1), Utf8ToUtf16(arg2)));
}

void PrintNoDisplay(const std::string& reason) {
  std::fprintf(stderr, "%s\n", Text(IDS_NO_DISPLAY, g_program_name, reason).c_str());
  std::fflush(stderr);
}

// Set while the Qt application object is being created: Qt ends the process
// when its platform plugin cannot reach the display. Its own messages are
// held back until then, so that a failure prints one line only.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};
std::vector<HeldMessage> g_held_messages;
QtMessageHandler g_previous_handler = nullptr;

void GuardPlatformStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    g_held_messages.push_back({type, QByteArray(context.category), text});
    return;
  }
  std::string reason;
  if (const auto display = Variable("DISPLAY")) {
    reason = Text(IDS_CANNOT_CONNECT, *display);
  } else if (const auto wayland = Variable("WAYLAND_DISPLAY")) {
    reason = Text(IDS_CANNOT_CONNECT, *wayland);
  } else {
    reason = text.section(u'\n', 0, 0).toStdString();
  }
  PrintNoDisplay(reason);
  std::_Exit(1);
}

void ReleaseHeldMessages() {
  qInstallMessageHandler(g_previous_handler);
  for (const HeldMessage& message : g_held_messages) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    if (g_previous_handler != nullptr) g_previous_handler(message.type, context, message.text);
  }
  g_held_messages.clear();
}

}  // namespace

bool DisplayLooksAvailable(std::string* reason) {
  const std::optional<std::string> platform = Variable("QT_QPA_PLATFORM");
  const bool x11 = Variable("DISPLAY").has_value();
  const bool wayland = Variable("WAYLAND_DISPLAY").has_value();
  if (!platform || platform->rfind("xcb", 0) == 0) {
    if (x11 || (!platform && wayland)) return true;
    *reason = Text(IDS_VARIABLE_NOT_SET, "DISPLAY");
    return false;
  }
  if (platform->rfind("wayland", 0) == 0 && !wayland) {
    *reason = Text(IDS_VARIABLE_NOT_SET, "WAYLAND_DISPLAY");
    return false;
  }
  return true;  // offscreen, vnc and the like need no display
}

int RunMainDialog(int& argc, char** argv, const std::filesystem::path& first,
                  const std::u16string& culture, const std::filesystem::path& base) {
  g_program_name = ProgramName(argv);
  std::string reason;
  if (!DisplayLooksAvailable(&reason)) {
    PrintNoDisplay(reason);
    return 0;
  }

  KeepQtSettingsOffDisk();
  g_previous_handler = qInstallMessageHandler(GuardPlatformStart);
  QApplication application(argc, argv);
  ReleaseHeldMessages();

  // Message boxes are captioned with the program file's name without its
  // extension.
  application.setApplicationName(
      QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  application.setWindowIcon(WindowIcon());
  const QtTranslations qt_texts(culture);

  CJunctraDlg dialog;
  dialog.SetFolders(first, {});
  dialog.SetBase(base);
  return dialog.DoModal();
}

}  // namespace junctra
