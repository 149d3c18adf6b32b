// The German satellite resource module. Same IDs, positions, sizes and
// styles as the built-in module; only the texts differ.
#include "resources/icon_data.h"
#include "resources/resource_table.h"

namespace {

constexpr JunctraString kStrings[] = {
    {101, "&Info über Junctra..."},
    {102, "Bitte wählen Sie zwei verschiedene Datenbankordner aus."},
    {103, "Wählen Sie den ersten Datenbankordner aus:"},
    {104, "Wählen Sie den zweiten Datenbankordner aus:"},
    {105, "Der erste Ordner enthält keine Datenbankdateien"},
    {106, "Der zweite Ordner enthält keine Datenbankdateien"},
    {107, "Die Datei %1 kann nicht geöffnet werden"},
    {108, "Wählen Sie den neuen Datenbankordner aus:"},
    {109, "Fehler beim Speichern der Klassendatei"},
    {110, "Fehler beim Speichern der Datenbankdatei"},
    {111, "Klasse „%s“ ist unterschiedlich definiert"},
    {112, "Tag „%s“ ist unterschiedlich definiert"},
    {113, "Fehler beim Lesen der Datei %1 in Zeile %2"},
    {114, "%1: %2"},
    {115, "Der Ordner %1 wird von einem anderen Programm verwendet"},
    {116, "Nicht zusammenführbar wegen folgender Konflikte:"},
    {117, "%1: erste %2, zweite %3"},
    {118, "Nummer"},
    {119, "Typ"},
    {120, "Rest der Tag-Zeile"},
    {121, "Parameters Zeile %1"},
    {122, "Alarm Zeile %1"},
    {123, "History Zeile %1"},
    {124, "Anzahl der Mitglieder"},
    {125, "Mitglied %1 (%2), Name"},
    {126, "Mitglied %1 (%2), Typ"},
    {127, "Mitglied %1 (%2), Text"},
    {128, "(keine)"},
    {129, "Vereint in %1: %2 Klassen, %3 Tags (%4 Klassen und %5 Tags aus der zweiten Datenbank)."},
    {130, "."},
    {131, "Der Ordner %1 enthält mehr als eine Datei namens %2"},
    {132, "Tag „%1“ verwendet den Klassencode %2, den seine Datenbank nicht definiert"},
    {133, "%1: class.lst und tagl.txt sind dieselbe Datei"},
    {134, "Nicht genug Arbeitsspeicher, um fortzufahren"},
    {135, "%1 ist kein Ordnername: Er enthält ein Anführungszeichen"},
};

constexpr uint32_t kVisible = JUNCTRA_WS_VISIBLE;
constexpr uint32_t kDialogStyle = JUNCTRA_WS_POPUP | JUNCTRA_WS_CAPTION | JUNCTRA_WS_SYSMENU |
                                  JUNCTRA_DS_MODALFRAME | JUNCTRA_DS_SETFONT;

constexpr JunctraControl kAboutControls[] = {
    {-1, JUNCTRA_CONTROL_STATIC_ICON, "", 11, 17, 20, 20, kVisible | JUNCTRA_SS_ICON, 128},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Junctra Version 1.0", 40, 10, 119, 8,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Vereint zwei Tag-Datenbanken.", 40, 25, 119, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "OK", 178, 7, 32, 14,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
};

// The labels name the databases, whose folders the fields below them show.
// Their places and sizes are the built-in template's.
constexpr JunctraControl kMainControls[] = {
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Erste Datenbank", 7, 7, 112, 8, kVisible | JUNCTRA_WS_GROUP,
     0},
    {1003, JUNCTRA_CONTROL_EDIT, "", 7, 17, 112, 14,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
         JUNCTRA_ES_AUTOHSCROLL,
     0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Zweite Datenbank", 7, 36, 112, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1004, JUNCTRA_CONTROL_EDIT, "", 7, 48, 112, 14,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
         JUNCTRA_ES_AUTOHSCROLL,
     0},
    {1, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "&Beenden", 121, 7, 57, 14,
     kVisible | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
    {1000, JUNCTRA_CONTROL_PUSH_BUTTON, "&Auswählen...", 121, 29, 57, 14,
     kVisible | JUNCTRA_WS_TABSTOP, 0},
    {1005, JUNCTRA_CONTROL_PUSH_BUTTON, "&Vereinen...", 121, 49, 57, 14,
     kVisible | JUNCTRA_WS_TABSTOP, 0},
    {1012, JUNCTRA_CONTROL_STATIC_TEXT, "", 7, 68, 171, 24, kVisible | JUNCTRA_SS_NOPREFIX, 0},
};

constexpr JunctraControl kErrorControls[] = {
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Nicht zusammenführbar wegen folgender Konflikte:", 7, 7, 286,
     8, kVisible | JUNCTRA_WS_GROUP, 0},
    {1006, JUNCTRA_CONTROL_LIST_BOX, "", 7, 19, 286, 112,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_WS_VSCROLL | JUNCTRA_WS_HSCROLL |
         JUNCTRA_LBS_NOTIFY | JUNCTRA_LBS_NOINTEGRALHEIGHT | JUNCTRA_LBS_WANTKEYBOARDINPUT,
     0},
    {1010, JUNCTRA_CONTROL_STATIC_TEXT, "", 7, 136, 286, 8,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Erste Datenbank", 7, 147, 140, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Zweite Datenbank", 153, 147, 140, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1007, JUNCTRA_CONTROL_EDIT, "", 7, 157, 140, 52,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_MULTILINE |
         JUNCTRA_ES_READONLY | JUNCTRA_ES_AUTOVSCROLL | JUNCTRA_ES_AUTOHSCROLL |
         JUNCTRA_ES_NOHIDESEL,
     0},
    {1008, JUNCTRA_CONTROL_EDIT, "", 153, 157, 140, 52,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_MULTILINE |
         JUNCTRA_ES_READONLY | JUNCTRA_ES_AUTOVSCROLL | JUNCTRA_ES_AUTOHSCROLL |
         JUNCTRA_ES_NOHIDESEL,
     0},
    {1009, JUNCTRA_CONTROL_PUSH_BUTTON, "&Kopieren", 7, 215, 50, 14,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP, 0},
    {1, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "OK", 243, 215, 50, 14,
     kVisible | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
};

constexpr JunctraDialog kDialogs[] = {
    {100, "Info über Junctra", 217, 55, kDialogStyle, 0, "MS Sans Serif", 8, kAboutControls,
     sizeof(kAboutControls) / sizeof(kAboutControls[0])},
    {102, "Junctra", 185, 96, kDialogStyle | JUNCTRA_WS_VISIBLE, JUNCTRA_WS_EX_APPWINDOW,
     "MS Sans Serif", 8, kMainControls, sizeof(kMainControls) / sizeof(kMainControls[0])},
    {130, "Fehlerliste", 300, 236, kDialogStyle, 0, "MS Sans Serif", 8, kErrorControls,
     sizeof(kErrorControls) / sizeof(kErrorControls[0])},
};

constexpr JunctraIcon kIcons[] = {
    {128, kJunctraIconPng, sizeof(kJunctraIconPng)},
};

constexpr JunctraResourceTable kTable = {
    JUNCTRA_RESOURCE_FORMAT_VERSION,        kStrings,
    sizeof(kStrings) / sizeof(kStrings[0]), kDialogs,
    sizeof(kDialogs) / sizeof(kDialogs[0]), kIcons,
    sizeof(kIcons) / sizeof(kIcons[0]),
};

}  // namespace

// Exported under the entry point's name by entry_point.c.
extern "C" const JunctraResourceTable* JunctraGermanResources(void) { return &kTable; }
