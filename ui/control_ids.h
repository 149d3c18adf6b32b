// Control IDs of the dialog templates, shared by every toolkit's dialogs.
#pragma once

namespace junctra {

enum ControlId : int {
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
