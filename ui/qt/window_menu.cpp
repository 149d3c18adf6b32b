#include "ui/qt/window_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

namespace junctra {

// Moves a window by the arrow keys, holding the keyboard while it does.
class KeyboardMove : public QObject {
 public:
  // Pixels per arrow key.
  static constexpr int kStep = 8;

  explicit KeyboardMove(QWidget* window) : window_(window) {}
  ~KeyboardMove() override { End(); }

  bool active() const { return active_; }

  void Start() {
    if (active_) return;
    active_ = true;
    start_ = window_->pos();
    window_->installEventFilter(this);
    window_->grabKeyboard();
  }

  void End() {
    if (!active_) return;
    active_ = false;
    window_->releaseKeyboard();
    window_->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        OnKey(static_cast<QKeyEvent*>(event)->key());
        return true;
      case QEvent::ShortcutOverride:
      case QEvent::KeyRelease:
        return true;  // no shortcut fires while moving
      case QEvent::MouseButtonPress:
      case QEvent::WindowDeactivate:
        End();
        return false;
      default:
        return false;
    }
  }

 private:
  void OnKey(int key) {
    QPoint step;
    switch (key) {
      case Qt::Key_Left:
        step = {-kStep, 0};
        break;
      case Qt::Key_Right:
        step = {kStep, 0};
        break;
      case Qt::Key_Up:
        step = {0, -kStep};
        break;
      case Qt::Key_Down:
        step = {0, kStep};
        break;
      case Qt::Key_Escape:
        window_->move(start_);
        End();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        End();
        return;
      default:
        return;
    }
    window_->move(window_->pos() + step);
  }

  QWidget* window_;
  QPoint start_;
  bool active_ = false;
};

WindowMenu::WindowMenu(QWidget* window, std::function<void(unsigned)> on_command)
    : window_(window),
      menu_(new QMenu(window)),
      on_command_(std::move(on_command)),
      move_(std::make_unique<KeyboardMove>(window)) {
  menu_->setObjectName(QStringLiteral("windowMenu"));
  // Qt's own texts for these entries, so that a loaded Qt translation applies.
  AppendItem(kMove, QCoreApplication::translate("QMdiSubWindow", "&Move"));
  AppendItem(kClose, QCoreApplication::translate("QMdiSubWindow", "&Close"));
  auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), window);
  QObject::connect(shortcut, &QShortcut::activated, window, [this] { PopupAtWindowCorner(); });
}

WindowMenu::~WindowMenu() = default;

bool WindowMenu::moving() const { return move_->active(); }

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
    move_->Start();
  }
}

}  // namespace junctra
