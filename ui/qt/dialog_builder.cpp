#include "ui/qt/dialog_builder.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "ui/qt/app_icon.h"
#include "ui/qt/qt_text.h"

namespace junctra {
namespace {

// a * b / c rounded half away from zero, as Windows' MulDiv.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

// Keeps Return and Enter in a want-return edit, so that they do not press
// the dialog's default button.
class WantReturnFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return event->type() == QEvent::KeyPress;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

bool HasStyle(const JunctraControl& control, uint32_t flag) { return (control.style & flag) != 0; }

// A read-only edit has the dialog's background, so that it does not look
// like a field to type into.
void ShowAsReadOnly(QWidget* edit) {
  QPalette palette = edit->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
  }
  edit->setPalette(palette);
}

Qt::FocusPolicy FocusPolicyFor(const JunctraControl& control) {
  return HasStyle(control, JUNCTRA_WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

// A single "&" (not "&&") marks a mnemonic.
bool HasMnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'&') {
      if (text[i + 1] != u'&') return true;
      ++i;
    }
  }
  return false;
}

QWidget* MakeStaticText(const JunctraControl& control, QDialog* dialog) {
  auto* label = new QLabel(dialog);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);  // left-aligned static text wraps at word breaks
  label->setText(ToQString(control.text));
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QWidget* MakeStaticIcon(const JunctraControl& control, QDialog* dialog) {
  auto* label = new QLabel(dialog);
  label->setPixmap(LoadIconPixmap(static_cast<unsigned>(control.resource_id)));
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QWidget* MakeEdit(const JunctraControl& control, QDialog* dialog) {
  const bool read_only = HasStyle(control, JUNCTRA_ES_READONLY);
  if (HasStyle(control, JUNCTRA_ES_MULTILINE)) {
    auto* edit = new QPlainTextEdit(dialog);
    // Without auto-wrap styles a line stays one visual line however long.
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    edit->setVerticalScrollBarPolicy(
        HasStyle(control, JUNCTRA_WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(
        HasStyle(control, JUNCTRA_WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (!HasStyle(control, JUNCTRA_WS_BORDER)) edit->setFrameShape(QFrame::NoFrame);
    edit->setPlainText(ToQString(control.text));
    if (read_only) {
      edit->setReadOnly(true);
      ShowAsReadOnly(edit);
      // A read-only edit still has a caret to move and select with.
      edit->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    }
    if (HasStyle(control, JUNCTRA_ES_WANTRETURN))
      edit->installEventFilter(new WantReturnFilter(edit));
    return edit;
  }
  auto* edit = new QLineEdit(dialog);
  edit->setFrame(HasStyle(control, JUNCTRA_WS_BORDER));
  edit->setReadOnly(read_only);
  if (read_only) ShowAsReadOnly(edit);
  edit->setText(ToQString(control.text));
  return edit;
}

QWidget* MakeListBox(const JunctraControl& control, QDialog* dialog) {
  auto* list = new QListWidget(dialog);
  list->setVerticalScrollBarPolicy(HasStyle(control, JUNCTRA_WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                         : Qt::ScrollBarAlwaysOff);
  list->setHorizontalScrollBarPolicy(
      HasStyle(control, JUNCTRA_WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  if (!HasStyle(control, JUNCTRA_WS_BORDER)) list->setFrameShape(QFrame::NoFrame);
  return list;
}

QWidget* MakeButton(const JunctraControl& control, QDialog* dialog) {
  auto* button = new QPushButton(ToQString(control.text), dialog);
  // As in Windows dialogs, a focused push button takes Return.
  button->setAutoDefault(true);
  button->setDefault(control.kind == JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON ||
                     HasStyle(control, JUNCTRA_BS_DEFPUSHBUTTON));
  return button;
}

QWidget* MakeControl(const JunctraControl& control, QDialog* dialog) {
  switch (control.kind) {
    case JUNCTRA_CONTROL_STATIC_TEXT:
      return MakeStaticText(control, dialog);
    case JUNCTRA_CONTROL_STATIC_ICON:
      return MakeStaticIcon(control, dialog);
    case JUNCTRA_CONTROL_EDIT:
      return MakeEdit(control, dialog);
    case JUNCTRA_CONTROL_PUSH_BUTTON:
    case JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON:
      return MakeButton(control, dialog);
    case JUNCTRA_CONTROL_LIST_BOX:
      return MakeListBox(control, dialog);
    default:
      return nullptr;
  }
}

void PlaceControl(const JunctraControl& control, const DialogUnits& units, const QSize& client,
                  QWidget* widget) {
  QRect rect = units.ToPixels(control.x, control.y, control.width, control.height);
  if (control.kind == JUNCTRA_CONTROL_STATIC_ICON) {
    // An icon control takes the size of its icon.
    const QSize size = static_cast<QLabel*>(widget)->pixmap().size();
    if (!size.isEmpty()) rect.setSize(size);
  } else if (control.kind == JUNCTRA_CONTROL_STATIC_TEXT) {
    auto* label = static_cast<QLabel*>(widget);
    const QFontMetrics metrics(label->font());
    if (rect.height() < 2 * metrics.height()) {
      // A one-line text is not broken into a second line that would be cut
      // off; a font wider than the template's may take some of the room to
      // the dialog's edge.
      label->setWordWrap(false);
      const int needed = metrics.horizontalAdvance(StripMnemonic(label->text()));
      if (needed > rect.width()) rect.setWidth(std::min(needed, client.width() - rect.x()));
    }
  }
  widget->setGeometry(rect);
}

QWidget* CreateControl(const JunctraControl& control, const DialogUnits& units, const QSize& client,
                       QDialog* dialog) {
  QWidget* widget = MakeControl(control, dialog);
  if (widget == nullptr) return nullptr;
  widget->setProperty(kControlIdProperty, control.id);
  widget->setProperty(kControlStyleProperty, control.style);
  if (control.id != -1) widget->setObjectName(QStringLiteral("control%1").arg(control.id));
  if (widget->focusPolicy() != Qt::NoFocus) widget->setFocusPolicy(FocusPolicyFor(control));
  PlaceControl(control, units, client, widget);
  widget->setHidden(!(control.style & JUNCTRA_WS_VISIBLE));
  return widget;
}

// The static text that labels a field: the nearest one that ends above it
// in the same columns, or left of it in the same rows. Null when none does.
const JunctraControl* LabelOf(const JunctraControl& field, const JunctraDialog& dialog) {
  const JunctraControl* label = nullptr;
  int nearest = INT_MAX;
  for (std::size_t i = 0; i < dialog.control_count; ++i) {
    const JunctraControl& text = dialog.controls[i];
    if (text.kind != JUNCTRA_CONTROL_STATIC_TEXT || text.text == nullptr || *text.text == 0) {
      continue;
    }
    const bool columns = text.x < field.x + field.width && field.x < text.x + text.width;
    const bool rows = text.y < field.y + field.height && field.y < text.y + text.height;
    int distance = INT_MAX;
    if (columns && text.y + text.height <= field.y) {
      distance = field.y - (text.y + text.height);
    } else if (rows && text.x + text.width <= field.x) {
      distance = field.x - (text.x + text.width);
    }
    if (distance < nearest) {
      nearest = distance;
      label = &text;
    }
  }
  return label;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_x_ = (width / 26 + 1) / 2;
  base_y_ = metrics.height();
}

int DialogUnits::ToPixelsX(int units) const { return MulDiv(units, base_x_, 4); }
int DialogUnits::ToPixelsY(int units) const { return MulDiv(units, base_y_, 8); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

QFont DialogFontFor(const JunctraDialog& dialog) {
  const QString name = ToQString(dialog.font_name);
  const int points = dialog.font_points > 0 ? dialog.font_points : 8;
  QFont font;
  if (!name.isEmpty() && QFontDatabase::families().contains(name, Qt::CaseInsensitive)) {
    font = QFont(name);
  } else {
    font = QFont(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPointSize(points);
  return font;
}

std::vector<QWidget*> BuildDialog(const JunctraDialog& dialog_template, QDialog* dialog) {
  const QFont font = DialogFontFor(dialog_template);
  const DialogUnits units(font);
  dialog->setFont(font);
  dialog->setWindowTitle(ToQString(dialog_template.caption));

  // An application window is a top-level window of its own, with a taskbar
  // entry. Any other dialog window is transient: on X11 Qt makes one
  // without a parent transient for a hidden window of its own, which
  // taskbars leave out.
  const bool app_window = (dialog_template.ex_style & JUNCTRA_WS_EX_APPWINDOW) != 0;
  Qt::WindowFlags flags =
      (app_window ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (dialog_template.style & JUNCTRA_WS_SYSMENU) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  dialog->setWindowFlags(flags);
  const QSize client(units.ToPixelsX(dialog_template.width),
                     units.ToPixelsY(dialog_template.height));
  dialog->setFixedSize(client);

  std::vector<QWidget*> controls;
  std::vector<const JunctraControl*> sources;
  for (std::size_t i = 0; i < dialog_template.control_count; ++i) {
    const JunctraControl& control = dialog_template.controls[i];
    QWidget* widget = CreateControl(control, units, client, dialog);
    if (widget == nullptr) continue;
    if (control.kind == JUNCTRA_CONTROL_EDIT || control.kind == JUNCTRA_CONTROL_LIST_BOX) {
      // Qt names a field by its label only when the label has a mnemonic.
      if (const JunctraControl* label = LabelOf(control, dialog_template)) {
        widget->setAccessibleName(StripMnemonic(ToQString(label->text)));
      }
    }
    controls.push_back(widget);
    sources.push_back(&control);
  }

  // Tab order is template order. A static text's mnemonic moves the focus to
  // the next control that takes it.
  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    QWidget* widget = controls[i];
    if (widget->focusPolicy() & Qt::TabFocus) {
      if (previous != nullptr) QWidget::setTabOrder(previous, widget);
      previous = widget;
    }
    if (sources[i]->kind != JUNCTRA_CONTROL_STATIC_TEXT) continue;
    auto* label = static_cast<QLabel*>(widget);
    if (sources[i]->style & JUNCTRA_SS_NOPREFIX) continue;
    QWidget* buddy = nullptr;
    for (std::size_t j = i + 1; j < controls.size() && buddy == nullptr; ++j) {
      if (controls[j]->focusPolicy() != Qt::NoFocus) buddy = controls[j];
    }
    if (HasMnemonic(label->text()) && buddy != nullptr) {
      label->setBuddy(buddy);
    } else {
      label->setText(StripMnemonic(label->text()));
    }
  }
  return controls;
}

QWidget* AddControl(const JunctraControl& control, QDialog* dialog) {
  return CreateControl(control, DialogUnits(dialog->font()), dialog->size(), dialog);
}

QWidget* FindControl(const QWidget* dialog, int id) {
  for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QVariant value = child->property(kControlIdProperty);
    if (value.isValid() && value.toInt() == id) return child;
  }
  return nullptr;
}

QString StripMnemonic(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        result += u'&';
        ++i;
      }
      continue;
    }
    result += text[i];
  }
  return result;
}

}  // namespace junctra
