// Qt's own texts in the language of the satellite: the folder chooser's
// labels, buttons and columns, the edit fields' menu, and Move and Close in
// the window menu. They come from the translations installed with Qt.
#pragma once

#include <QLocale>
#include <QTranslator>
#include <string_view>

namespace junctra {

// Installs Qt's translation for the culture, and the culture's formats for
// the chooser's dates and sizes, while it lives. For an empty culture, or
// one Qt has no translation for, Qt's texts stay English.
class QtTranslations {
 public:
  explicit QtTranslations(std::u16string_view culture);
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  bool loaded() const { return loaded_; }

 private:
  QTranslator translator_;
  QLocale previous_locale_;
  bool loaded_ = false;
};

}  // namespace junctra
