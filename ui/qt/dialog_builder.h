// Builds a Qt dialog from a dialog template of a resource module: caption,
// fixed size, font, and the controls with their IDs, texts, positions,
// styles and tab order. Template coordinates are dialog units, converted to
// pixels from the dialog font the way Windows' dialog manager does.
#pragma once

#include <QFont>
#include <QRect>
#include <vector>

#include "resources/resource_table.h"

class QDialog;
class QWidget;

namespace junctra {

// Dynamic properties every built control carries.
inline constexpr char kControlIdProperty[] = "junctraControlId";  // int; -1: none
inline constexpr char kControlStyleProperty[] = "junctraStyle";   // uint

// Dialog units of one font: a horizontal unit is a quarter of the average
// character width, a vertical unit an eighth of the character height.
class DialogUnits {
 public:
  DialogUnits(int base_x, int base_y) : base_x_(base_x), base_y_(base_y) {}
  explicit DialogUnits(const QFont& font);

  int base_x() const { return base_x_; }
  int base_y() const { return base_y_; }
  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  QRect ToPixels(int x, int y, int width, int height) const;

 private:
  int base_x_;
  int base_y_;
};

// The font the template names in its size, or the desktop's sans-serif font
// in that size when the named one is not installed.
QFont DialogFontFor(const JunctraDialog& dialog);

// Sets caption, font, window flags and fixed client size of the dialog and
// creates the template's controls in it. Returns the controls in tab order.
// A field or list is named for screen readers by its label: the text just
// above it or just to its left.
std::vector<QWidget*> BuildDialog(const JunctraDialog& dialog_template, QDialog* dialog);

// Creates one more control in a dialog that BuildDialog built, in the
// dialog's units, as the template's own are; the caller puts it in the tab
// order.
QWidget* AddControl(const JunctraControl& control, QDialog* dialog);

// The control with the ID among the dialog's built controls; null if none.
QWidget* FindControl(const QWidget* dialog, int id);

// A control's text without its mnemonic marks ("E&xit" -> "Exit",
// "&&" -> "&").
QString StripMnemonic(const QString& text);

}  // namespace junctra
