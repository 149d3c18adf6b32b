#include "ui/qt/template_dialog.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/resource_module.h"
#include "resources/resource_table.h"
#include "ui/dialog_result.h"
#include "ui/qt/dialog_builder.h"

namespace junctra {

void DataExchange::Text(int id, QString& value) {
  QWidget* widget = dialog_->GetDlgItem(id);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (save_) {
      value = line->text();
    } else {
      line->setText(value);
      line->setCursorPosition(0);
    }
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
    if (save_) {
      value = text->toPlainText();
    } else {
      text->setPlainText(value);
    }
  }
}

TemplateDialog::TemplateDialog(unsigned template_id, QWidget* parent)
    : QDialog(parent), template_id_(template_id) {
  const JunctraDialog* found = CurrentResourceModule().FindDialog(template_id);
  if (found == nullptr) return;
  has_template_ = true;
  controls_ = BuildDialog(*found, this);
  for (QWidget* control : controls_) {
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button == nullptr) continue;
    const int id = control->property(kControlIdProperty).toInt();
    connect(button, &QAbstractButton::clicked, this, [this, id] {
      if (id == kDialogOk) {
        OnOK();
      } else if (id == kDialogCancel) {
        OnCancel();
      } else {
        OnCommand(id);
      }
    });
  }
}

int TemplateDialog::DoModal() {
  if (!has_template_) return kCreateFailed;
  ended_ = false;
  if (OnInitDialog()) {
    for (QWidget* control : controls_) {
      if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() && !control->isHidden()) {
        control->setFocus(Qt::OtherFocusReason);
        break;
      }
    }
  }
  if (ended_) return end_result_;
  return exec();
}

void TemplateDialog::EndDialog(int result) {
  ended_ = true;
  end_result_ = result;
  if (isVisible()) {
    done(result);
  } else {
    setResult(result);
  }
}

bool TemplateDialog::UpdateData(bool save) {
  DataExchange dx(this, save);
  DoDataExchange(dx);
  return true;
}

QWidget* TemplateDialog::GetDlgItem(int id) const { return FindControl(this, id); }

void TemplateDialog::DoDataExchange(DataExchange&) {}

bool TemplateDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void TemplateDialog::OnOK() {
  if (UpdateData(true)) EndDialog(kDialogOk);
}

void TemplateDialog::OnCancel() { EndDialog(kDialogCancel); }

void TemplateDialog::OnCommand(int) {}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
  QWidget* focus = focusWidget();
  if (event->modifiers() == Qt::NoModifier && qobject_cast<QAbstractButton*>(focus) != nullptr) {
    const int key = event->key();
    if ((key == Qt::Key_Down || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Left) &&
        MoveWithinGroup(focus, key == Qt::Key_Down || key == Qt::Key_Right)) {
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

bool TemplateDialog::MoveWithinGroup(QWidget* from, bool forward) {
  const auto it = std::find(controls_.begin(), controls_.end(), from);
  if (it == controls_.end()) return false;
  const std::size_t at = static_cast<std::size_t>(it - controls_.begin());
  auto starts_group = [this](std::size_t i) {
    return (controls_[i]->property(kControlStyleProperty).toUInt() & JUNCTRA_WS_GROUP) != 0;
  };
  // The group runs from a control with the group style up to the next one.
  std::size_t first = at;
  while (first > 0 && !starts_group(first)) --first;
  std::size_t end = at + 1;
  while (end < controls_.size() && !starts_group(end)) ++end;
  const std::size_t count = end - first;
  for (std::size_t step = 1; step < count; ++step) {
    const std::size_t offset =
        forward ? (at - first + step) % count : (at - first + count - step) % count;
    QWidget* candidate = controls_[first + offset];
    if (candidate->focusPolicy() != Qt::NoFocus && candidate->isEnabled() &&
        !candidate->isHidden()) {
      candidate->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return false;
}

}  // namespace junctra
