#include "ui/qt/qt_settings.h"

#include <QSettings>

namespace junctra {

void KeepQtSettingsOffDisk() {
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
  }
}

}  // namespace junctra
