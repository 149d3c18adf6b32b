// The built-in, US English resource module.
#include "resources/module_tables.h"

namespace junctra {
namespace {

constexpr JunctraString kStrings[] = {
    {IDS_ABOUTBOX, "&About Junctra..."},
    {IDS_SELECT_DIFFERENT, "Please, select different database folders."},
    {IDS_SELECT_FIRST, "Select the first database folder:"},
    {IDS_SELECT_SECOND, "Select the second database folder:"},
    {IDS_FIRST_NO_DATABASE, "First folder does not contain database files"},
    {IDS_SECOND_NO_DATABASE, "Second folder does not contain database files"},
    {IDS_CANNOT_OPEN_FILE, "Can not open file %1"},
    {IDS_SELECT_OUTPUT, "Select new database folder:"},
    {IDS_ERROR_SAVING_CLASSES, "Error saving class file"},
    {IDS_ERROR_SAVING_TAGS, "Error saving database file"},
    {IDS_CLASS_CONFLICT, "Class '%s' has different definitions"},
    {IDS_TAG_CONFLICT, "Tag '%s' has different definitions"},
    {IDS_ERROR_READING_FILE, "Error reading file %1 at line %2"},
    {IDS_FILE_ERROR, "%1: %2"},
    {IDS_OUTPUT_FOLDER_BUSY, "Folder %1 is in use by another program"},
    {IDS_CONFLICTS_HEADING, "Can not merge databases due to the following inconsistencies:"},
    {IDS_DETAIL_LINE, "%1: first %2, second %3"},
    {IDS_DETAIL_NUMBER, "Number"},
    {IDS_DETAIL_TYPE, "Type"},
    {IDS_DETAIL_TAG_LINE, "Rest of the tag line"},
    {IDS_DETAIL_PARAMETERS, "Parameters line %1"},
    {IDS_DETAIL_ALARM, "Alarm line %1"},
    {IDS_DETAIL_HISTORY, "History line %1"},
    {IDS_DETAIL_MEMBER_COUNT, "Member count"},
    {IDS_DETAIL_MEMBER_NAME, "Member %1 (%2), name"},
    {IDS_DETAIL_MEMBER_TYPE, "Member %1 (%2), type"},
    {IDS_DETAIL_MEMBER_TEXT, "Member %1 (%2), text"},
    {IDS_DETAIL_NONE, "(none)"},
    {IDS_MERGE_RESULT, "Merged into %1: %2, %3 (%4 and %5 from the second database)."},
    {IDS_DIGIT_GROUP_SEPARATOR, ","},
    {IDS_AMBIGUOUS_FILE_NAME, "Folder %1 holds more than one file named %2"},
    {IDS_UNDEFINED_CLASS_CODE, "Tag '%1' uses class code %2, which its database does not define"},
    {IDS_SAME_FILE, "%1: class.lst and tagl.txt are the same file"},
    {IDS_OUT_OF_MEMORY, "Not enough memory to go on"},
    {IDS_NOT_A_FOLDER_NAME, "%1 is not a folder name: it holds a quotation mark"},
    {IDS_CLASS_CHANGED_DELETED,
     "Class '%1' was changed in the first database and deleted in the second"},
    {IDS_CLASS_DELETED_CHANGED,
     "Class '%1' was deleted in the first database and changed in the second"},
    {IDS_TAG_CHANGED_DELETED,
     "Tag '%1' was changed in the first database and deleted in the second"},
    {IDS_TAG_DELETED_CHANGED,
     "Tag '%1' was deleted in the first database and changed in the second"},
    {IDS_DETAIL_LINE_BASE, "%1: first %2, second %3, base %4"},
    {IDS_DETAIL_DELETED, "(deleted)"},
    {IDS_MERGE_RESULT_DETAILED,
     "Merged into %1: %2, %3 (%4 and %5 from the second database; %6 changed, %7 deleted, "
     "%8 decided)."},
    {IDS_DRY_RUN_RESULT,
     "Would merge into %1: %2, %3 (%4 and %5 from the second database; %6 changed, %7 deleted, "
     "%8 decided)."},
    {IDS_BASE_NO_DATABASE, "Common ancestor folder does not contain database files"},
    {IDS_USAGE,
     "Usage: junctra [--base BASE] [--take first|second] [--dry-run] FIRST SECOND [OUTPUT]"},
    {IDS_HELP,
     "       junctra --help | --version\n"
     "Merges the tag databases FIRST and SECOND into OUTPUT, or into SECOND when\n"
     "there is no OUTPUT. With fewer than two folders the dialog opens.\n"
     "\n"
     "  --base BASE          merge three-way: BASE is the database both started from\n"
     "  --take first|second  decide every conflict for that database\n"
     "  --dry-run            write nothing; print what the merge would write\n"
     "  --                   end of the options: every argument after it is a folder\n"
     "  --help               print this text\n"
     "  --version            print the version\n"
     "\n"
     "Exit status: 0 merged (or would merge), 1 not merged, 2 wrong use."},
    {IDS_VERSION, "Junctra version %1"},
    {IDS_OPTION_NEEDS_FOLDER, "Option %1 needs a folder"},
    {IDS_OPTION_NEEDS_SIDE, "Option %1 needs first or second"},
    {IDS_OPTION_TWICE, "Option %1 is given twice"},
    {IDS_OPTION_NEEDS_DATABASES, "Option %1 needs two database folders"},
    {IDS_SELECT_BASE, "Select the common ancestor folder:"},
    {IDS_CHOICE_FIRST, "[first] %1"},
    {IDS_CHOICE_SECOND, "[second] %1"},
    {IDS_CLASS_COUNT_ONE, "%1 class"},
    {IDS_CLASS_COUNT, "%1 classes"},
    {IDS_TAG_COUNT_ONE, "%1 tag"},
    {IDS_TAG_COUNT, "%1 tags"},
    {IDS_QUOTED, "\"%1\""},
    {IDS_REPLACE_DATABASE, "Folder %1 already holds a tag database. Replace its files?"},
    {IDS_REPLACE, "&Replace"},
    {IDS_CANCEL, "Cancel"},
};

constexpr DialogTexts kTexts = {
    .about_caption = "About Junctra",
    .about_summary = "Merges two tag databases into one.",
    .about_copyright = "Copyright \u00a9 2026 The Junctra developers",
    .about_license = "Free software under the MIT License.",
    .first_folder = "First Database Folder",
    .second_folder = "Second Database Folder",
    .base_folder = "Common Ancestor Folder",
    .exit = "E&xit",
    .select = "&Select...",
    .merge = "&Merge...",
    .select_base = "&Ancestor...",
    .clear_base = "&Clear",
    .error_list_caption = "Error List",
    .first_database = "First database",
    .second_database = "Second database",
    .base_database = "Common ancestor",
    .copy = "&Copy",
    .take_first = "Take &first",
    .take_second = "Take &second",
    .merge_decided = "&Merge with these choices...",
};

}  // namespace
}  // namespace junctra

extern "C" const JunctraResourceTable* JunctraBuiltInResources(void) {
  return &junctra::ModuleTables<junctra::kTexts, junctra::kStrings>::kTable;
}
