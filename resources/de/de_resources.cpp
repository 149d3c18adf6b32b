// The German satellite resource module: the built-in module's layout with
// German texts.
#include "resources/module_tables.h"

namespace junctra {
namespace {

constexpr JunctraString kStrings[] = {
    {IDS_ABOUTBOX, "&Info über Junctra..."},
    {IDS_SELECT_DIFFERENT, "Bitte wählen Sie zwei verschiedene Datenbankordner aus."},
    {IDS_SELECT_FIRST, "Wählen Sie den ersten Datenbankordner aus:"},
    {IDS_SELECT_SECOND, "Wählen Sie den zweiten Datenbankordner aus:"},
    {IDS_FIRST_NO_DATABASE, "Der erste Ordner enthält keine Datenbankdateien"},
    {IDS_SECOND_NO_DATABASE, "Der zweite Ordner enthält keine Datenbankdateien"},
    {IDS_CANNOT_OPEN_FILE, "Die Datei %1 kann nicht geöffnet werden"},
    {IDS_SELECT_OUTPUT, "Wählen Sie den neuen Datenbankordner aus:"},
    {IDS_ERROR_SAVING_CLASSES, "Fehler beim Speichern der Klassendatei"},
    {IDS_ERROR_SAVING_TAGS, "Fehler beim Speichern der Datenbankdatei"},
    {IDS_CLASS_CONFLICT, "Klasse „%s“ ist unterschiedlich definiert"},
    {IDS_TAG_CONFLICT, "Tag „%s“ ist unterschiedlich definiert"},
    {IDS_ERROR_READING_FILE, "Fehler beim Lesen der Datei %1 in Zeile %2"},
    {IDS_FILE_ERROR, "%1: %2"},
    {IDS_OUTPUT_FOLDER_BUSY, "Der Ordner %1 wird von einem anderen Programm verwendet"},
    {IDS_CONFLICTS_HEADING, "Vereinen nicht möglich wegen folgender Konflikte:"},
    {IDS_DETAIL_LINE, "%1: erste %2, zweite %3"},
    {IDS_DETAIL_NUMBER, "Nummer"},
    {IDS_DETAIL_TYPE, "Typ"},
    {IDS_DETAIL_TAG_LINE, "Rest der Tag-Zeile"},
    {IDS_DETAIL_PARAMETERS, "Parameterzeile %1"},
    {IDS_DETAIL_ALARM, "Alarmzeile %1"},
    {IDS_DETAIL_HISTORY, "Verlaufszeile %1"},
    {IDS_DETAIL_MEMBER_COUNT, "Anzahl der Mitglieder"},
    {IDS_DETAIL_MEMBER_NAME, "Mitglied %1 (%2), Name"},
    {IDS_DETAIL_MEMBER_TYPE, "Mitglied %1 (%2), Typ"},
    {IDS_DETAIL_MEMBER_TEXT, "Mitglied %1 (%2), Text"},
    {IDS_DETAIL_NONE, "(keine)"},
    {IDS_MERGE_RESULT, "Vereint in %1: %2, %3 (%4 und %5 aus der zweiten Datenbank)."},
    {IDS_DIGIT_GROUP_SEPARATOR, "."},
    {IDS_AMBIGUOUS_FILE_NAME, "Der Ordner %1 enthält mehr als eine Datei namens %2"},
    {IDS_UNDEFINED_CLASS_CODE,
     "Tag „%1“ verwendet den Klassencode %2, den seine Datenbank nicht definiert"},
    {IDS_SAME_FILE, "%1: class.lst und tagl.txt sind dieselbe Datei"},
    {IDS_OUT_OF_MEMORY, "Nicht genug Arbeitsspeicher, um fortzufahren"},
    {IDS_NOT_A_FOLDER_NAME, "%1 ist kein Ordnername: Er enthält ein Anführungszeichen"},
    {IDS_CLASS_CHANGED_DELETED,
     "Klasse „%1“ wurde in der ersten Datenbank geändert und in der zweiten gelöscht"},
    {IDS_CLASS_DELETED_CHANGED,
     "Klasse „%1“ wurde in der ersten Datenbank gelöscht und in der zweiten geändert"},
    {IDS_TAG_CHANGED_DELETED,
     "Tag „%1“ wurde in der ersten Datenbank geändert und in der zweiten gelöscht"},
    {IDS_TAG_DELETED_CHANGED,
     "Tag „%1“ wurde in der ersten Datenbank gelöscht und in der zweiten geändert"},
    {IDS_DETAIL_LINE_BASE, "%1: erste %2, zweite %3, Basis %4"},
    {IDS_DETAIL_DELETED, "(gelöscht)"},
    {IDS_MERGE_RESULT_DETAILED,
     "Vereint in %1: %2, %3 (%4 und %5 aus der zweiten Datenbank; %6 geändert, %7 gelöscht, "
     "%8 entschieden)."},
    {IDS_DRY_RUN_RESULT,
     "Würde vereinen in %1: %2, %3 (%4 und %5 aus der zweiten Datenbank; %6 geändert, "
     "%7 gelöscht, %8 entschieden)."},
    {IDS_BASE_NO_DATABASE, "Der Ordner des gemeinsamen Vorgängers enthält keine Datenbankdateien"},
    {IDS_USAGE,
     "Aufruf: junctra [--base BASIS] [--take first|second] [--dry-run] ERSTE ZWEITE [AUSGABE]"},
    {IDS_HELP,
     "        junctra --help | --version\n"
     "Vereint die Tag-Datenbanken ERSTE und ZWEITE in AUSGABE, oder in ZWEITE,\n"
     "wenn AUSGABE fehlt. Mit weniger als zwei Ordnern öffnet sich der Dialog.\n"
     "\n"
     "  --base BASIS         Drei-Wege-Vereinigung: BASIS ist die Datenbank, von der\n"
     "                       beide ausgingen\n"
     "  --take first|second  jeden Konflikt für diese Datenbank entscheiden\n"
     "  --dry-run            nichts schreiben; ausgeben, was die Vereinigung schriebe\n"
     "  --                   Ende der Optionen: jedes weitere Argument ist ein Ordner\n"
     "  --help               diesen Text ausgeben\n"
     "  --version            die Version ausgeben\n"
     "\n"
     "Rückgabewert: 0 vereint (oder würde es), 1 nicht vereint, 2 falscher Aufruf."},
    {IDS_VERSION, "Junctra Version %1"},
    {IDS_OPTION_NEEDS_FOLDER, "Die Option %1 braucht einen Ordner"},
    {IDS_OPTION_NEEDS_SIDE, "Die Option %1 braucht first oder second"},
    {IDS_OPTION_TWICE, "Die Option %1 ist doppelt angegeben"},
    {IDS_OPTION_NEEDS_DATABASES, "Die Option %1 braucht zwei Datenbankordner"},
    {IDS_SELECT_BASE, "Wählen Sie den Ordner des gemeinsamen Vorgängers aus:"},
    {IDS_CHOICE_FIRST, "[erste] %1"},
    {IDS_CHOICE_SECOND, "[zweite] %1"},
    {IDS_CLASS_COUNT_ONE, "%1 Klasse"},
    {IDS_CLASS_COUNT, "%1 Klassen"},
    {IDS_TAG_COUNT_ONE, "%1 Tag"},
    {IDS_TAG_COUNT, "%1 Tags"},
    {IDS_QUOTED, "„%1“"},
    {IDS_REPLACE_DATABASE,
     "Der Ordner %1 enthält bereits eine Tag-Datenbank. Sollen ihre Dateien ersetzt werden?"},
    {IDS_REPLACE, "&Ersetzen"},
    {IDS_CANCEL, "Abbrechen"},
};

// The main dialog's labels name the databases, whose folders the fields
// below them show.
constexpr DialogTexts kTexts = {
    .about_caption = "Info über Junctra",
    .about_summary = "Vereint zwei Tag-Datenbanken.",
    .about_copyright = "Copyright \u00a9 2026 Die Junctra-Entwickler",
    .about_license = "Freie Software unter der MIT-Lizenz.",
    .first_folder = "Erste Datenbank",
    .second_folder = "Zweite Datenbank",
    .base_folder = "Gemeinsamer Vorgänger",
    .exit = "&Beenden",
    .select = "&Auswählen...",
    .merge = "&Vereinen...",
    .select_base = "V&orgänger...",
    .clear_base = "&Leeren",
    .error_list_caption = "Fehlerliste",
    .first_database = "Erste Datenbank",
    .second_database = "Zweite Datenbank",
    .base_database = "Gemeinsamer Vorgänger",
    .copy = "&Kopieren",
    .take_first = "&Erste übernehmen",
    .take_second = "&Zweite übernehmen",
    .merge_decided = "Mit dieser Auswahl &vereinen...",
};

}  // namespace
}  // namespace junctra

// Exported under the entry point's name by entry_point.c.
extern "C" const JunctraResourceTable* JunctraGermanResources(void) {
  return &junctra::ModuleTables<junctra::kTexts, junctra::kStrings>::kTable;
}
