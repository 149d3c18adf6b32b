// Dialogs built from the templates of the built-in module and of the German
// satellite: caption, size, controls with IDs, texts, positions, styles and
// tab order, and texts that fit their controls.
#include "ui/qt/dialog_builder.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/resource_module.h"
#include "tests/ui/ui_test_support.h"
#include "ui/qt/template_dialog.h"

namespace junctra {
namespace {

std::vector<const ResourceModule*> Modules() {
  std::vector<const ResourceModule*> modules = {&ResourceModule::BuiltIn()};
  if (const ResourceModule* german = GermanModule()) modules.push_back(german);
  return modules;
}

class ModuleScope {
 public:
  explicit ModuleScope(const ResourceModule* module) { SetCurrentResourceModule(module); }
  ~ModuleScope() { SetCurrentResourceModule(nullptr); }
};

TEST(DialogUnitsTest, ConvertsWithTheFontsAverageWidthAndHeight) {
  const DialogUnits units(6, 13);
  EXPECT_EQ(units.ToPixelsX(4), 6);
  EXPECT_EQ(units.ToPixelsX(185), 278);  // 277.5 rounds up
  EXPECT_EQ(units.ToPixelsY(8), 13);
  EXPECT_EQ(units.ToPixelsY(70), 114);  // 113.75
  EXPECT_EQ(units.ToPixelsX(-1), -2);   // -1.5 rounds away from zero
  EXPECT_EQ(units.ToPixels(7, 17, 112, 14), QRect(11, 28, 168, 23));

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(8);
  const DialogUnits from_font(font);
  const QFontMetrics metrics(font);
  EXPECT_EQ(from_font.base_y(), metrics.height());
  const double average = metrics.horizontalAdvance(QStringLiteral(
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                         52.0;
  EXPECT_NEAR(from_font.base_x(), average, 0.5);
}

TEST(DialogUnitsTest, MissingTemplateFontFallsBackToSansSerifInItsSize) {
  JunctraDialog dialog{};
  dialog.font_name = "No Such Font Family";
  dialog.font_points = 8;
  QFont font = DialogFontFor(dialog);
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_EQ(QFontInfo(font).family(), QFontInfo(QFont(QStringLiteral("Sans Serif"))).family());

  dialog.font_name = "DejaVu Serif";
  dialog.font_points = 10;
  font = DialogFontFor(dialog);
  EXPECT_EQ(QFontInfo(font).family(), "DejaVu Serif");
  EXPECT_EQ(font.pointSize(), 10);
}

// What the template says a control is, as a widget.
void ExpectControlMatches(const JunctraControl& control, QWidget* widget,
                          const DialogUnits& units) {
  SCOPED_TRACE(control.text);
  EXPECT_EQ(widget->property(kControlIdProperty).toInt(), control.id);
  EXPECT_EQ(widget->isHidden(), !(control.style & JUNCTRA_WS_VISIBLE));
  const QRect rect = units.ToPixels(control.x, control.y, control.width, control.height);
  const QString text = ToQString(control.text);
  switch (control.kind) {
    case JUNCTRA_CONTROL_STATIC_TEXT: {
      auto* label = qobject_cast<QLabel*>(widget);
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(StripMnemonic(label->text()),
                control.style & JUNCTRA_SS_NOPREFIX ? text : StripMnemonic(text));
      // A one-line text may widen its control up to the dialog's edge.
      EXPECT_EQ(label->pos(), rect.topLeft());
      EXPECT_EQ(label->height(), rect.height());
      EXPECT_GE(label->width(), rect.width());
      EXPECT_LE(label->geometry().right(), label->parentWidget()->width() - 1);
      EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
      break;
    }
    case JUNCTRA_CONTROL_STATIC_ICON: {
      auto* label = qobject_cast<QLabel*>(widget);
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->pixmap().size(), QSize(32, 32));
      EXPECT_EQ(label->pos(), rect.topLeft());
      break;
    }
    case JUNCTRA_CONTROL_EDIT:
      EXPECT_EQ(widget->geometry(), rect);
      if (control.style & JUNCTRA_ES_MULTILINE) {
        auto* edit = qobject_cast<QPlainTextEdit*>(widget);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->isReadOnly(), (control.style & JUNCTRA_ES_READONLY) != 0);
        EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_TRUE(edit->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        EXPECT_EQ(edit->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn,
                  (control.style & JUNCTRA_WS_VSCROLL) != 0);
        EXPECT_EQ(edit->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn,
                  (control.style & JUNCTRA_WS_HSCROLL) != 0);
      } else {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->isReadOnly(), (control.style & JUNCTRA_ES_READONLY) != 0);
        EXPECT_EQ(edit->hasFrame(), (control.style & JUNCTRA_WS_BORDER) != 0);
        EXPECT_EQ(edit->text(), text);
      }
      break;
    case JUNCTRA_CONTROL_PUSH_BUTTON:
    case JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON: {
      auto* button = qobject_cast<QPushButton*>(widget);
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->text(), text);
      EXPECT_EQ(button->geometry(), rect);
      EXPECT_EQ(button->isDefault(), control.kind == JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON);
      break;
    }
    case JUNCTRA_CONTROL_LIST_BOX: {
      auto* list = qobject_cast<QListWidget*>(widget);
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(list->geometry(), rect);
      EXPECT_EQ(list->verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded,
                (control.style & JUNCTRA_WS_VSCROLL) != 0);
      break;
    }
    default:
      ADD_FAILURE() << "unknown control kind " << control.kind;
  }
  if (control.kind == JUNCTRA_CONTROL_EDIT || control.kind >= JUNCTRA_CONTROL_PUSH_BUTTON) {
    EXPECT_EQ(widget->focusPolicy(),
              control.style & JUNCTRA_WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

TEST(DialogBuilderTest, EveryTemplateIsBuiltAsItSays) {
  for (const ResourceModule* module : Modules()) {
    ModuleScope scope(module);
    for (unsigned id : {IDD_ABOUTBOX, IDD_JUNCTRA_DIALOG, IDD_ERROR_DIALOG}) {
      SCOPED_TRACE(id);
      const JunctraDialog* source = module->FindDialog(id);
      ASSERT_NE(source, nullptr);
      TemplateDialog dialog(id, nullptr);
      ASSERT_TRUE(dialog.has_template());
      const DialogUnits units(dialog.font());
      EXPECT_EQ(dialog.windowTitle(), ToQString(source->caption));
      EXPECT_EQ(dialog.size(),
                QSize(units.ToPixelsX(source->width), units.ToPixelsY(source->height)));
      EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // fixed size
      EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
      EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
      ASSERT_EQ(dialog.controls().size(), source->control_count);
      for (std::size_t i = 0; i < source->control_count; ++i) {
        ExpectControlMatches(source->controls[i], dialog.controls()[i], units);
        if (source->controls[i].id != -1) {
          EXPECT_EQ(dialog.GetDlgItem(source->controls[i].id), dialog.controls()[i]);
        }
      }

      // Tab moves through the tab stops in template order and wraps around.
      std::vector<QWidget*> tab_stops;
      for (std::size_t i = 0; i < source->control_count; ++i) {
        if (source->controls[i].style & JUNCTRA_WS_TABSTOP)
          tab_stops.push_back(dialog.controls()[i]);
      }
      ASSERT_FALSE(tab_stops.empty());
      QWidget* at = tab_stops.front();
      for (std::size_t i = 1; i <= tab_stops.size(); ++i) {
        do {
          at = at->nextInFocusChain();
        } while (!(at->focusPolicy() & Qt::TabFocus) || at == &dialog);
        EXPECT_EQ(at, tab_stops[i % tab_stops.size()]) << "tab stop " << i;
      }
    }
  }
}

TEST(DialogBuilderTest, TextsFitTheirControls) {
  for (const ResourceModule* module : Modules()) {
    ModuleScope scope(module);
    for (unsigned id : {IDD_ABOUTBOX, IDD_JUNCTRA_DIALOG, IDD_ERROR_DIALOG}) {
      TemplateDialog dialog(id, nullptr);
      const QFontMetrics metrics(dialog.font());
      for (QWidget* control : dialog.controls()) {
        if (auto* label = qobject_cast<QLabel*>(control); label && label->pixmap().isNull()) {
          const QString text = StripMnemonic(label->text());
          EXPECT_LE(metrics.horizontalAdvance(text), label->width()) << text.toStdString();
          EXPECT_LE(metrics.height(), label->height()) << text.toStdString();
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
          const QString text = StripMnemonic(button->text());
          EXPECT_LE(metrics.horizontalAdvance(text) + 8, button->width()) << text.toStdString();
          EXPECT_LE(button->sizeHint().height(), button->height() + 6) << text.toStdString();
        }
      }
    }
  }
}

TEST(DialogBuilderTest, StaticTextMnemonicsFocusTheNextControl) {
  const JunctraControl controls[] = {
      {-1, JUNCTRA_CONTROL_STATIC_TEXT, "&Name", 5, 5, 40, 8, JUNCTRA_WS_VISIBLE, 0},
      {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Tom && Jerry", 5, 15, 60, 8, JUNCTRA_WS_VISIBLE, 0},
      {-1, JUNCTRA_CONTROL_STATIC_TEXT, "R&D", 5, 25, 60, 8,
       JUNCTRA_WS_VISIBLE | JUNCTRA_SS_NOPREFIX, 0},
      {7, JUNCTRA_CONTROL_EDIT, "", 5, 35, 60, 12,
       JUNCTRA_WS_VISIBLE | JUNCTRA_WS_TABSTOP | JUNCTRA_WS_BORDER, 0},
      {8, JUNCTRA_CONTROL_PUSH_BUTTON, "Hidden", 5, 50, 40, 14, JUNCTRA_WS_TABSTOP, 0},
  };
  const JunctraDialog source{1, "Test",          100, 80,       JUNCTRA_WS_POPUP,
                             0, "MS Sans Serif", 8,   controls, 5};
  QDialog dialog;
  const std::vector<QWidget*> built = BuildDialog(source, &dialog);
  ASSERT_EQ(built.size(), 5u);
  auto* name = qobject_cast<QLabel*>(built[0]);
  EXPECT_EQ(name->buddy(), built[3]);
  EXPECT_EQ(qobject_cast<QLabel*>(built[1])->text(), "Tom & Jerry");
  EXPECT_EQ(qobject_cast<QLabel*>(built[2])->text(), "R&D");
  EXPECT_EQ(qobject_cast<QLabel*>(built[2])->buddy(), nullptr);
  EXPECT_TRUE(built[4]->isHidden());
  EXPECT_EQ(FindControl(&dialog, 8), built[4]);
  EXPECT_EQ(FindControl(&dialog, 9), nullptr);
  // No system menu style: no close button.
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(DialogBuilderTest, StripMnemonicDropsTheMarks) {
  EXPECT_EQ(StripMnemonic("E&xit"), "Exit");
  EXPECT_EQ(StripMnemonic("Tom && Jerry"), "Tom & Jerry");
  EXPECT_EQ(StripMnemonic("end&"), "end");
  EXPECT_EQ(StripMnemonic("&About Junctra..."), "About Junctra...");
}

TEST(DialogBuilderTest, MissingTemplateMakesDoModalFail) {
  TemplateDialog dialog(4711, nullptr);
  EXPECT_FALSE(dialog.has_template());
  EXPECT_EQ(dialog.DoModal(), TemplateDialog::kCreateFailed);
}

}  // namespace
}  // namespace junctra
