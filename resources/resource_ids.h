// The IDs of the resources: strings, dialog templates, the icon and the
// dialogs' controls. The tables here and the dialogs of every toolkit use
// these names; the numbers are those of the Windows resources.
#pragma once

namespace junctra {

// String IDs of the string table.
enum StringId : unsigned {
  IDS_ABOUTBOX = 101,
  IDS_SELECT_DIFFERENT = 102,
  IDS_SELECT_FIRST = 103,
  IDS_SELECT_SECOND = 104,
  IDS_FIRST_NO_DATABASE = 105,
  IDS_SECOND_NO_DATABASE = 106,
  IDS_CANNOT_OPEN_FILE = 107,
  IDS_SELECT_OUTPUT = 108,
  IDS_ERROR_SAVING_CLASSES = 109,
  IDS_ERROR_SAVING_TAGS = 110,
  IDS_CLASS_CONFLICT = 111,
  IDS_TAG_CONFLICT = 112,
  IDS_ERROR_READING_FILE = 113,
  IDS_FILE_ERROR = 114,
  IDS_OUTPUT_FOLDER_BUSY = 115,
  IDS_CONFLICTS_HEADING = 116,
  IDS_DETAIL_LINE = 117,
  IDS_DETAIL_NUMBER = 118,
  IDS_DETAIL_TYPE = 119,
  IDS_DETAIL_TAG_LINE = 120,
  IDS_DETAIL_PARAMETERS = 121,
  IDS_DETAIL_ALARM = 122,
  IDS_DETAIL_HISTORY = 123,
  IDS_DETAIL_MEMBER_COUNT = 124,
  IDS_DETAIL_MEMBER_NAME = 125,
  IDS_DETAIL_MEMBER_TYPE = 126,
  IDS_DETAIL_MEMBER_TEXT = 127,
  IDS_DETAIL_NONE = 128,
  IDS_MERGE_RESULT = 129,
  IDS_DIGIT_GROUP_SEPARATOR = 130,
  IDS_AMBIGUOUS_FILE_NAME = 131,
  IDS_UNDEFINED_CLASS_CODE = 132,
  IDS_SAME_FILE = 133,
  IDS_OUT_OF_MEMORY = 134,
  IDS_NOT_A_FOLDER_NAME = 135,
  IDS_CLASS_CHANGED_DELETED = 136,
  IDS_CLASS_DELETED_CHANGED = 137,
  IDS_TAG_CHANGED_DELETED = 138,
  IDS_TAG_DELETED_CHANGED = 139,
  IDS_DETAIL_LINE_BASE = 140,
  IDS_DETAIL_DELETED = 141,
  IDS_MERGE_RESULT_DETAILED = 142,
  IDS_DRY_RUN_RESULT = 143,
  IDS_BASE_NO_DATABASE = 144,
};

// Resource IDs of the dialog templates and the icon.
enum ResourceId : unsigned {
  IDD_ABOUTBOX = 100,
  IDD_JUNCTRA_DIALOG = 102,
  IDR_MAINFRAME = 128,
  IDD_ERROR_DIALOG = 130,
};

// Control IDs of the dialog templates.
enum ControlId : int {
  IDC_STATIC = -1,  // a control the code never names
  IDC_OK = 1,       // Windows' IDOK: the OK and Exit buttons
  IDC_SELECT = 1000,
  IDC_FIRST_FOLDER = 1003,
  IDC_SECOND_FOLDER = 1004,
  IDC_MERGE = 1005,
  IDC_ERRORS = 1006,
  IDC_DETAIL_FIRST = 1007,
  IDC_DETAIL_SECOND = 1008,
  IDC_COPY = 1009,
  IDC_DETAIL_PART = 1010,
  IDC_RESULT = 1012,
};

// Command ID of the About entry of the main dialog's system menu.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

}  // namespace junctra
