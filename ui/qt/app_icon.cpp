#include "ui/qt/app_icon.h"

#include "platform/resource_module.h"
#include "resources/resource_ids.h"

// A static library's resources are registered by hand.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace junctra {

QPixmap LoadIconPixmap(unsigned id) {
  QPixmap pixmap;
  const JunctraIcon* icon = CurrentResourceModule().FindIcon(id);
  if (icon != nullptr && icon->png != nullptr) {
    pixmap.loadFromData(icon->png, static_cast<uint>(icon->png_size), "PNG");
  }
  return pixmap;
}

QIcon LoadIconResource(unsigned id) {
  QPixmap pixmap = LoadIconPixmap(id);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QIcon WindowIcon() {
  InitIconResources();
  QIcon icon = LoadIconResource(IDR_MAINFRAME);
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    if (!icon.availableSizes().contains(QSize(size, size))) {
      icon.addFile(QStringLiteral(":/icons/junctra-%1.png").arg(size), QSize(size, size));
    }
  }
  return icon;
}

}  // namespace junctra
