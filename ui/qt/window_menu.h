// Stands in for a window's system menu, which Linux window managers do not
// let a program extend: a menu with Move and Close, to which the dialog can
// append items, opened with Alt+Space or a right click on the background.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace junctra {

class KeyboardMove;

class WindowMenu {
 public:
  // Windows' command IDs of the standard entries.
  static constexpr unsigned kMove = 0xF010;
  static constexpr unsigned kClose = 0xF060;

  // on_command receives the ID of every chosen entry; it hands the standard
  // ones to RunDefault. The menu is owned by window.
  WindowMenu(QWidget* window, std::function<void(unsigned)> on_command);
  ~WindowMenu();
  WindowMenu(const WindowMenu&) = delete;
  WindowMenu& operator=(const WindowMenu&) = delete;

  void AppendSeparator();
  void AppendItem(unsigned id, const QString& text);

  // Opens the menu at a global position, or below the window's top-left
  // corner as Alt+Space does.
  void Popup(const QPoint& global_position);
  void PopupAtWindowCorner();

  // Close closes the window. Move moves it with the arrow keys, as the
  // system menu's Move does, until Return or a click; Escape puts it back.
  void RunDefault(unsigned id);
  bool moving() const;

  QMenu* menu() const { return menu_; }

 private:
  QWidget* window_;
  QMenu* menu_;
  std::function<void(unsigned)> on_command_;
  std::unique_ptr<KeyboardMove> move_;
};

}  // namespace junctra
