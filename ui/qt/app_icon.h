// Icons of the current resource module as Qt images.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace junctra {

// The icon with the ID from the current resource module (the built-in one
// when the module lacks it); a null pixmap or icon when there is none.
QPixmap LoadIconPixmap(unsigned id);
QIcon LoadIconResource(unsigned id);

// The window icon: the program's icon (IDR_MAINFRAME of the current module)
// and the bundled sizes from 16x16 to 256x256 that the module lacks.
QIcon WindowIcon();

}  // namespace junctra
