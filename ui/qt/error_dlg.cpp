#include "ui/qt/error_dlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTextCursor>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "ui/dialog_result.h"
#include "ui/qt/qt_text.h"

namespace junctra {
namespace {

// Shows text in the pane with [begin, end) marked as the selection marks
// text, also while another control has the focus, and scrolled into view.
// Screen readers get the marked part as the pane's description.
void ShowMarked(QPlainTextEdit* pane, const std::u16string& text, std::size_t begin,
                std::size_t end) {
  if (pane == nullptr) return;
  pane->setPlainText(ToQString(text));
  QList<QTextEdit::ExtraSelection> marks;
  QString description;
  if (end > begin && end <= text.size()) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(pane->document());
    mark.cursor.setPosition(static_cast<int>(begin));
    mark.cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    mark.format.setBackground(pane->palette().highlight());
    mark.format.setForeground(pane->palette().highlightedText());
    marks.push_back(mark);
    description = ToQString(FormatMessage(LoadResourceString(IDS_DIFFERENCE_MARKED),
                                          {std::u16string_view(text).substr(begin, end - begin)}));
    // The caret goes to the mark's end, then its start: both in sight when
    // the mark fits.
    QTextCursor caret(pane->document());
    for (const std::size_t at : {end, begin}) {
      caret.setPosition(static_cast<int>(at));
      pane->setTextCursor(caret);
      pane->ensureCursorVisible();
    }
  }
  pane->setExtraSelections(marks);
  pane->setAccessibleDescription(description);
}

}  // namespace

CErrorDlg::CErrorDlg(const ConflictList& conflicts, QWidget* parent)
    : TemplateDialog(IDD_ERROR_DIALOG, parent), logic_(conflicts, *this, u"\n") {}

void CErrorDlg::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_ERRORS, m_listErrors);
  dx.Control(IDC_DETAIL_PART, m_staticPart);
  dx.Control(IDC_DETAIL_FIRST, m_editFirst);
  dx.Control(IDC_DETAIL_SECOND, m_editSecond);
  dx.Control(IDC_DETAIL_BASE, m_editBase);
}

bool CErrorDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  logic_.OnInitDialog();
  if (!logic_.has_base()) {
    for (const int id : {IDC_DETAIL_BASE_LABEL, IDC_DETAIL_BASE}) {
      if (QWidget* control = GetDlgItem(id)) control->hide();
    }
  }
  // A long definition wraps, within a word if it must, and scrolls.
  for (QPlainTextEdit* pane : {m_editFirst, m_editSecond}) {
    if (pane == nullptr) continue;
    pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    pane->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  if (m_listErrors == nullptr) return true;
  for (const Conflict& conflict : logic_.conflicts()) {
    m_listErrors->addItem(ToQString(conflict.line));
  }
  connect(m_listErrors, &QListWidget::currentRowChanged, this,
          [this](int row) { logic_.OnSelect(row); });
  m_listErrors->installEventFilter(this);
  if (!logic_.conflicts().empty()) m_listErrors->setCurrentRow(0);
  return true;
}

bool CErrorDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_listErrors &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    event->accept();
    if (event->type() == QEvent::KeyPress) logic_.OnCopy();
    return true;
  }
  return TemplateDialog::eventFilter(watched, event);
}

void CErrorDlg::OnCommand(int id) {
  if (id == IDC_COPY) {
    logic_.OnCopy();
  } else if (id == IDC_TAKE_FIRST || id == IDC_TAKE_SECOND) {
    logic_.OnTake(id == IDC_TAKE_FIRST ? Side::kFirst : Side::kSecond);
    // Back to the list, whose arrow keys reach the next conflict.
    if (m_listErrors != nullptr) m_listErrors->setFocus(Qt::OtherFocusReason);
  } else if (id == IDC_MERGE_DECIDED && logic_.OnMergeDecided()) {
    EndDialog(kDialogOk);
  }
}

void CErrorDlg::ShowDetail(const ConflictDetail& detail, const DifferenceMark& mark) {
  if (m_staticPart != nullptr) m_staticPart->setText(ToQString(detail.part));
  ShowMarked(m_editFirst, detail.first, mark.begin, mark.first_end);
  ShowMarked(m_editSecond, detail.second, mark.begin, mark.second_end);
  if (m_editBase != nullptr) {
    m_editBase->setText(ToQString(detail.base));
    m_editBase->setCursorPosition(0);
    m_editBase->setToolTip(m_editBase->text());
  }
}

void CErrorDlg::SetClipboardText(const std::u16string& text) {
  QGuiApplication::clipboard()->setText(ToQString(text));
}

void CErrorDlg::ShowRow(std::size_t row, const std::u16string& text) {
  if (m_listErrors == nullptr) return;
  if (QListWidgetItem* item = m_listErrors->item(static_cast<int>(row))) {
    item->setText(ToQString(text));
  }
}

void CErrorDlg::EnableTake(bool enabled) {
  for (const int id : {IDC_TAKE_FIRST, IDC_TAKE_SECOND}) {
    if (QWidget* button = GetDlgItem(id)) button->setEnabled(enabled);
  }
}

void CErrorDlg::EnableMergeDecided(bool enabled) {
  if (QWidget* button = GetDlgItem(IDC_MERGE_DECIDED)) button->setEnabled(enabled);
}

}  // namespace junctra
