#include "ui/qt/error_dlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTextCursor>

#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "ui/error_list_text.h"
#include "ui/qt/qt_text.h"

namespace junctra {
namespace {

// Shows text in the pane with [begin, end) marked as the selection marks
// text, also while another control has the focus.
void ShowMarked(QPlainTextEdit* pane, const std::u16string& text, std::size_t begin,
                std::size_t end) {
  if (pane == nullptr) return;
  pane->setPlainText(ToQString(text));
  QList<QTextEdit::ExtraSelection> marks;
  if (end > begin) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(pane->document());
    mark.cursor.setPosition(static_cast<int>(begin));
    mark.cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    mark.format.setBackground(pane->palette().highlight());
    mark.format.setForeground(pane->palette().highlightedText());
    marks.push_back(mark);
  }
  pane->setExtraSelections(marks);
}

}  // namespace

CErrorDlg::CErrorDlg(const std::vector<std::u16string>* error_list,
                     const std::vector<ConflictDetail>* details, QWidget* parent)
    : TemplateDialog(IDD_ERROR_DIALOG, parent), m_pErrorList(error_list), m_pDetails(details) {}

void CErrorDlg::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_ERRORS, m_listErrors);
  dx.Control(IDC_DETAIL_PART, m_staticPart);
  dx.Control(IDC_DETAIL_FIRST, m_editFirst);
  dx.Control(IDC_DETAIL_SECOND, m_editSecond);
}

bool CErrorDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  if (m_listErrors == nullptr || m_pErrorList == nullptr) return true;
  for (const std::u16string& line : *m_pErrorList) m_listErrors->addItem(ToQString(line));
  connect(m_listErrors, &QListWidget::currentRowChanged, this,
          [this](int row) { ShowDetail(row); });
  m_listErrors->installEventFilter(this);
  if (!m_pErrorList->empty()) m_listErrors->setCurrentRow(0);
  return true;
}

bool CErrorDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_listErrors &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    event->accept();
    if (event->type() == QEvent::KeyPress) CopyReport();
    return true;
  }
  return TemplateDialog::eventFilter(watched, event);
}

void CErrorDlg::OnCommand(int id) {
  if (id == IDC_COPY) CopyReport();
}

void CErrorDlg::ShowDetail(int row) {
  ConflictDetail detail;
  if (m_pDetails != nullptr && row >= 0 && static_cast<std::size_t>(row) < m_pDetails->size()) {
    detail = (*m_pDetails)[static_cast<std::size_t>(row)];
  }
  if (m_staticPart != nullptr) m_staticPart->setText(ToQString(detail.part));
  const DifferenceMark mark = MarkDifference(detail.first, detail.second);
  ShowMarked(m_editFirst, detail.first, mark.begin, mark.first_end);
  ShowMarked(m_editSecond, detail.second, mark.begin, mark.second_end);
}

void CErrorDlg::CopyReport() {
  if (m_pErrorList == nullptr) return;
  static const std::vector<ConflictDetail> kNone;
  const std::u16string text = ConflictReportText(
      *m_pErrorList, m_pDetails != nullptr ? *m_pDetails : kNone, CurrentResourceModule(), u"\n");
  QGuiApplication::clipboard()->setText(ToQString(text));
}

}  // namespace junctra
