// The built-in, US English resource module.
#include "resources/icon_data.h"
#include "resources/resource_table.h"

namespace {

constexpr JunctraString kStrings[] = {
    {101, "&About Junctra..."},
    {102, "Please, select different database folders."},
    {103, "Select the first database folder:"},
    {104, "Select the second database folder:"},
    {105, "First folder does not contain database files"},
    {106, "Second folder does not contain database files"},
    {107, "Can not open file %1"},
    {108, "Select new database folder:"},
    {109, "Error saving class file"},
    {110, "Error saving database file"},
    {111, "Class '%s' has different definitions"},
    {112, "Tag '%s' has different definitions"},
    {113, "Error reading file %1 at line %2"},
    {114, "%1: %2"},
    {115, "Folder %1 is in use by another program"},
    {116, "Can not merge databases due to the following inconsistencies:"},
    {117, "%1: first %2, second %3"},
    {118, "Number"},
    {119, "Type"},
    {120, "Rest of the tag line"},
    {121, "Parameters line %1"},
    {122, "Alarm line %1"},
    {123, "History line %1"},
    {124, "Member count"},
    {125, "Member %1 (%2), name"},
    {126, "Member %1 (%2), type"},
    {127, "Member %1 (%2), text"},
    {128, "(none)"},
    {129, "Merged into %1: %2 classes, %3 tags (%4 classes and %5 tags from the second database)."},
    {130, ","},
    {131, "Folder %1 holds more than one file named %2"},
    {132, "Tag '%1' uses class code %2, which its database does not define"},
    {133, "%1: class.lst and tagl.txt are the same file"},
    {134, "Not enough memory to go on"},
    {135, "%1 is not a folder name: it holds a quotation mark"},
};

constexpr uint32_t kVisible = JUNCTRA_WS_VISIBLE;
constexpr uint32_t kDialogStyle = JUNCTRA_WS_POPUP | JUNCTRA_WS_CAPTION | JUNCTRA_WS_SYSMENU |
                                  JUNCTRA_DS_MODALFRAME | JUNCTRA_DS_SETFONT;

constexpr JunctraControl kAboutControls[] = {
    {-1, JUNCTRA_CONTROL_STATIC_ICON, "", 11, 17, 20, 20, kVisible | JUNCTRA_SS_ICON, 128},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Junctra Version 1.0", 40, 10, 119, 8,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Merges two tag databases into one.", 40, 25, 119, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "OK", 178, 7, 32, 14,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
};

// The labels are as wide as the fields below them: at 68 and 80 units,
// Windows' MS Sans Serif wraps "Folder" onto a second line, out of sight.
constexpr JunctraControl kMainControls[] = {
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "First Database Folder", 7, 7, 112, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1003, JUNCTRA_CONTROL_EDIT, "", 7, 17, 112, 14,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
         JUNCTRA_ES_AUTOHSCROLL,
     0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Second Database Folder", 7, 36, 112, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1004, JUNCTRA_CONTROL_EDIT, "", 7, 48, 112, 14,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
         JUNCTRA_ES_AUTOHSCROLL,
     0},
    {1, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "E&xit", 121, 7, 57, 14,
     kVisible | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
    {1000, JUNCTRA_CONTROL_PUSH_BUTTON, "&Select...", 121, 29, 57, 14,
     kVisible | JUNCTRA_WS_TABSTOP, 0},
    {1005, JUNCTRA_CONTROL_PUSH_BUTTON, "&Merge...", 121, 49, 57, 14, kVisible | JUNCTRA_WS_TABSTOP,
     0},
    {1012, JUNCTRA_CONTROL_STATIC_TEXT, "", 7, 68, 171, 24, kVisible | JUNCTRA_SS_NOPREFIX, 0},
};

constexpr JunctraControl kErrorControls[] = {
    {-1, JUNCTRA_CONTROL_STATIC_TEXT,
     "Can not merge databases due to the following inconsistencies:", 7, 7, 286, 8,
     kVisible | JUNCTRA_WS_GROUP, 0},
    {1006, JUNCTRA_CONTROL_LIST_BOX, "", 7, 19, 286, 112,
     kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_WS_VSCROLL | JUNCTRA_WS_HSCROLL |
         JUNCTRA_LBS_NOTIFY | JUNCTRA_LBS_NOINTEGRALHEIGHT | JUNCTRA_LBS_WANTKEYBOARDINPUT,
     0},
    {1010, JUNCTRA_CONTROL_STATIC_TEXT, "", 7, 136, 286, 8,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "First database", 7, 147, 140, 8, kVisible | JUNCTRA_WS_GROUP,
     0},
    {-1, JUNCTRA_CONTROL_STATIC_TEXT, "Second database", 153, 147, 140, 8,
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
    {1009, JUNCTRA_CONTROL_PUSH_BUTTON, "&Copy", 7, 215, 50, 14,
     kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP, 0},
    {1, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "OK", 243, 215, 50, 14,
     kVisible | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
};

constexpr JunctraDialog kDialogs[] = {
    {100, "About Junctra", 217, 55, kDialogStyle, 0, "MS Sans Serif", 8, kAboutControls,
     sizeof(kAboutControls) / sizeof(kAboutControls[0])},
    {102, "Junctra", 185, 96, kDialogStyle | JUNCTRA_WS_VISIBLE, JUNCTRA_WS_EX_APPWINDOW,
     "MS Sans Serif", 8, kMainControls, sizeof(kMainControls) / sizeof(kMainControls[0])},
    {130, "Error List", 300, 236, kDialogStyle, 0, "MS Sans Serif", 8, kErrorControls,
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

extern "C" const JunctraResourceTable* JunctraBuiltInResources(void) { return &kTable; }
