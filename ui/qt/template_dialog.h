// A modal dialog built from a dialog template of the current resource
// module, with the life cycle of a Windows dialog: DoModal runs
// OnInitDialog and then the modal loop, EndDialog sets the result, button 1
// is OK (data exchange from the controls, result 1) and button 2, Escape and
// the close button are Cancel (result 2).
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

namespace junctra {

class TemplateDialog;

// Exchanges values between a dialog's fields and its controls, in the
// direction given by save().
class DataExchange {
 public:
  DataExchange(TemplateDialog* dialog, bool save) : dialog_(dialog), save_(save) {}
  // true: controls to fields.
  bool save() const { return save_; }

  // Attaches the control with the ID (null when it is missing or of
  // another type).
  template <typename Widget>
  void Control(int id, Widget*& widget);
  // The text of an edit control.
  void Text(int id, QString& value);

 private:
  TemplateDialog* dialog_;
  bool save_;
};

class TemplateDialog : public QDialog {
 public:
  // Result of DoModal when the template is missing.
  static constexpr int kCreateFailed = -1;

  TemplateDialog(unsigned template_id, QWidget* parent);

  // Initialises the dialog and runs it modally; returns the value given to
  // EndDialog, or kCreateFailed.
  int DoModal();
  // Ends the modal run with the result; allowed during OnInitDialog, in
  // which case the dialog is never shown.
  void EndDialog(int result);
  // Runs the data exchange: controls to fields when save is true.
  bool UpdateData(bool save = true);
  QWidget* GetDlgItem(int id) const;
  unsigned template_id() const { return template_id_; }
  bool has_template() const { return has_template_; }
  // The controls in tab order.
  const std::vector<QWidget*>& controls() const { return controls_; }

 protected:
  virtual void DoDataExchange(DataExchange& dx);
  // Runs the data exchange to the controls; true lets the first control
  // that takes the focus have it.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // A click on a push button other than 1 and 2.
  virtual void OnCommand(int id);

  void accept() override { OnOK(); }
  void reject() override { OnCancel(); }
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Arrow keys on a push button move within its group, as in Windows
  // dialogs.
  bool MoveWithinGroup(QWidget* from, bool forward);

  unsigned template_id_;
  bool has_template_ = false;
  std::vector<QWidget*> controls_;
  bool ended_ = false;
  int end_result_ = 0;
};

template <typename Widget>
void DataExchange::Control(int id, Widget*& widget) {
  widget = qobject_cast<Widget*>(dialog_->GetDlgItem(id));
}

}  // namespace junctra
