// The error list dialog: the conflicts that stopped an interactive merge,
// one per line in a list; the selected one's detail below it, both versions
// side by side with the difference marked and the common ancestor's under
// them; Copy (and Ctrl+C in the list) puts the whole report on the
// clipboard. Take first and Take second decide the selected conflict; Merge
// with these choices, once all are decided, ends the dialog with them.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <string>

#include "merge/conflict.h"
#include "ui/error_list_logic.h"
#include "ui/qt/template_dialog.h"

namespace junctra {

class CErrorDlg : public TemplateDialog, private ErrorListView {
 public:
  // The list is borrowed and must outlive the modal run.
  CErrorDlg(const ConflictList& conflicts, QWidget* parent);

  // The choices after Merge with these choices; none after OK or Escape.
  Decisions decisions() const { return logic_.decisions(); }

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  // Ctrl+C in the list copies the report, not only the current line.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ErrorListView
  void ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) override;
  void SetClipboardText(const std::u16string& text) override;
  void ShowRow(std::size_t row, const std::u16string& text) override;
  void EnableTake(bool enabled) override;
  void EnableMergeDecided(bool enabled) override;

  ErrorListLogic logic_;

  QListWidget* m_listErrors = nullptr;
  QLabel* m_staticPart = nullptr;
  QPlainTextEdit* m_editFirst = nullptr;
  QPlainTextEdit* m_editSecond = nullptr;
  QLineEdit* m_editBase = nullptr;
};

}  // namespace junctra
