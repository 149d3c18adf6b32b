#include "ui/qt/window_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace junctra {

WindowMenu::WindowMenu(QWidget* window, std::function<void(unsigned)> on_command)
    : window_(window), menu_(new QMenu(window)), on_command_(std::move(on_command)) {
  menu_->setObjectName(QStringLiteral("windowMenu"));
  // Qt's own texts for these entries, so that a loaded Qt translation applies.
  AppendItem(kMove, QCoreApplication::translate("QMdiSubWindow", "&Move"));
  AppendItem(kClose, QCoreApplication::translate("QMdiSubWindow", "&Close"));
  auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), window);
  QObject::connect(shortcut, &QShortcut::activated, window, [this] { PopupAtWindowCorner(); });
}

void WindowMenu::AppendSeparator() { menu_->addSeparator(); }

void WindowMenu::AppendItem(unsigned id, const QString& text) {
  QAction* action = menu_->addAction(text);
  action->setData(id);
  QObject::connect(action, &QAction::triggered, window_, [this, id] { on_command_(id); });
}

void WindowMenu::Popup(const QPoint& global_position) { menu_->popup(global_position); }

void WindowMenu::PopupAtWindowCorner() { Popup(window_->mapToGlobal(QPoint(0, 0))); }

void WindowMenu::RunDefault(unsigned id) {
  if (id == kClose) {
    window_->close();
  } else if (id == kMove) {
    if (QWindow* handle = window_->windowHandle()) handle->startSystemMove();
  }
}

}  // namespace junctra
