#include "ui/qt/dialog_services.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "platform/resource_module.h"
#include "ui/qt/qt_text.h"

namespace junctra {
namespace {

class DesktopFolderChooser : public FolderChooser {
 public:
  bool BrowseForFolder(QWidget* owner, std::filesystem::path& result, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse use) override {
    return junctra::BrowseForFolder(owner, result, prompt, start, use);
  }
};

// Qt's chooser formats its modification dates in the system's locale; these
// follow the default locale, which is the satellite's culture.
class LocalDates : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    constexpr int kDateColumn = 3;  // of QFileSystemModel
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role == Qt::DisplayRole && index.column() == kDateColumn && files != nullptr) {
      return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
  }
};

class DesktopMessageBoxes : public MessageBoxService {
 public:
  void ShowMessage(QWidget* owner, const std::u16string& text,
                   const std::u16string& detail) override {
    ShowMessageBox(owner, text, detail);
  }
  bool AskReplace(QWidget* owner, const std::u16string& question) override {
    return AskReplaceBox(owner, question);
  }
};

}  // namespace

DialogServices DefaultDialogServices() {
  static DesktopFolderChooser folders;
  static DesktopMessageBoxes messages;
  return {&folders, &messages};
}

bool BrowseForFolder(QWidget* owner, std::filesystem::path& result, const std::u16string& prompt,
                     const std::filesystem::path& start, FolderUse use) {
  QFileDialog dialog(owner, ToQString(prompt));
  // Qt's own chooser, whose texts follow the loaded Qt translation; a
  // desktop's native one would keep records of the folders used.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  // Choosing a folder changes nothing: no Rename or Delete, and New Folder
  // only for the output.
  dialog.setOption(QFileDialog::ReadOnly, use == FolderUse::kRead);
  for (auto* action : dialog.findChildren<QAction*>()) {
    if (action->objectName() == u"qt_rename_action" ||
        action->objectName() == u"qt_delete_action") {
      action->setVisible(false);
    }
  }
  dialog.setProxyModel(new LocalDates(&dialog));
  if (!start.empty()) dialog.setDirectory(PathToQString(start));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
  QString path = chosen.first();
  while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
  result = QStringToPath(path);
  return true;
}

void ShowMessageBox(QWidget* owner, const std::u16string& text, const std::u16string& detail) {
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), ToQString(text),
                  QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  if (!detail.empty()) {
    box.setInformativeText(ToQString(detail));
    // Its label guesses at markup whatever the box's format; a path is never
    // markup.
    for (auto* label : box.findChildren<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
      label->setTextFormat(Qt::PlainText);
    }
  }
  box.exec();
}

bool AskReplaceBox(QWidget* owner, const std::u16string& question) {
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), ToQString(question),
                  QMessageBox::NoButton, owner);
  box.setTextFormat(Qt::PlainText);
  QPushButton* replace =
      box.addButton(ToQString(LoadResourceString(IDS_REPLACE)), QMessageBox::AcceptRole);
  QPushButton* cancel =
      box.addButton(ToQString(LoadResourceString(IDS_CANCEL)), QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == replace;
}

}  // namespace junctra
