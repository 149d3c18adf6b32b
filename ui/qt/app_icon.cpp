#include "ui/qt/app_icon.h"

#include "platform/resource_module.h"

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

}  // namespace junctra
