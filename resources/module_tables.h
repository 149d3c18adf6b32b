// What every language's resource module shares: the dialog templates' IDs,
// places, sizes and styles, and the icon. A module gives its string table
// and its dialog texts; ModuleTables<kTexts, kStrings>::kTable is the whole
// module, laid out as resource_table.h says.
#pragma once

#include <iterator>

#include "resources/icon_data.h"
#include "resources/resource_ids.h"
#include "resources/resource_table.h"

namespace junctra {

// The texts of the dialog templates that differ between languages.
struct DialogTexts {
  const char* about_caption;
  const char* about_summary;
  const char* about_copyright;
  const char* about_license;
  const char* first_folder;  // the main dialog's labels
  const char* second_folder;
  const char* base_folder;
  const char* exit;
  const char* select;
  const char* merge;
  const char* select_base;
  const char* clear_base;
  const char* error_list_caption;
  const char* first_database;  // the error list's labels
  const char* second_database;
  const char* base_database;
  const char* copy;
  const char* take_first;
  const char* take_second;
  const char* merge_decided;
};

template <const DialogTexts& kTexts, const auto& kStrings>
struct ModuleTables {
  // The string table's text of id; the error list's heading is string
  // IDS_CONFLICTS_HEADING.
  static constexpr const char* String(unsigned id) {
    for (const JunctraString& entry : kStrings) {
      if (entry.id == id) return entry.text;
    }
    return nullptr;
  }

  static constexpr uint32_t kVisible = JUNCTRA_WS_VISIBLE;
  static constexpr uint32_t kDialogStyle = JUNCTRA_WS_POPUP | JUNCTRA_WS_CAPTION |
                                           JUNCTRA_WS_SYSMENU | JUNCTRA_DS_MODALFRAME |
                                           JUNCTRA_DS_SETFONT;

  static constexpr JunctraControl kAboutControls[] = {
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_ICON, "", 11, 17, 20, 20, kVisible | JUNCTRA_SS_ICON,
       IDR_MAINFRAME},
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, "Junctra Version 1.0", 40, 10, 119, 8,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.about_summary, 40, 25, 119, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_OK, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "OK", 178, 7, 32, 14,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
      // Below the button, as wide as the box.
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.about_copyright, 40, 40, 170, 8,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.about_license, 40, 51, 170, 8,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
  };

  // The labels are as wide as the fields below them: at 68 and 80 units,
  // Windows' MS Sans Serif wraps "Folder" onto a second line, out of sight.
  static constexpr JunctraControl kMainControls[] = {
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.first_folder, 7, 7, 112, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_FIRST_FOLDER, JUNCTRA_CONTROL_EDIT, "", 7, 17, 112, 14,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
           JUNCTRA_ES_AUTOHSCROLL,
       0},
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.second_folder, 7, 36, 112, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_SECOND_FOLDER, JUNCTRA_CONTROL_EDIT, "", 7, 48, 112, 14,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
           JUNCTRA_ES_AUTOHSCROLL,
       0},
      {IDC_OK, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, kTexts.exit, 121, 7, 57, 14,
       kVisible | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
      {IDC_SELECT, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.select, 121, 29, 57, 14,
       kVisible | JUNCTRA_WS_TABSTOP, 0},
      {IDC_MERGE, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.merge, 121, 49, 57, 14,
       kVisible | JUNCTRA_WS_TABSTOP, 0},
      // The optional common ancestor, apart from the two databases.
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.base_folder, 7, 67, 112, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_BASE_FOLDER, JUNCTRA_CONTROL_EDIT, "", 7, 79, 112, 14,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
           JUNCTRA_ES_AUTOHSCROLL,
       0},
      {IDC_SELECT_BASE, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.select_base, 121, 79, 57, 14,
       kVisible | JUNCTRA_WS_TABSTOP, 0},
      {IDC_CLEAR_BASE, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.clear_base, 121, 97, 57, 14,
       kVisible | JUNCTRA_WS_TABSTOP, 0},
      {IDC_RESULT, JUNCTRA_CONTROL_STATIC_TEXT, "", 7, 116, 171, 24, kVisible | JUNCTRA_SS_NOPREFIX,
       0},
  };

  // Each Take button stands under the version it takes; the common
  // ancestor's line is hidden in a two-way merge.
  static constexpr JunctraControl kErrorControls[] = {
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, String(IDS_CONFLICTS_HEADING), 7, 7, 286, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_ERRORS, JUNCTRA_CONTROL_LIST_BOX, "", 7, 19, 286, 104,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_WS_VSCROLL | JUNCTRA_WS_HSCROLL |
           JUNCTRA_LBS_NOTIFY | JUNCTRA_LBS_NOINTEGRALHEIGHT | JUNCTRA_LBS_WANTKEYBOARDINPUT,
       0},
      {IDC_DETAIL_PART, JUNCTRA_CONTROL_STATIC_TEXT, "", 7, 128, 286, 8,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_SS_NOPREFIX, 0},
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.first_database, 7, 139, 140, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_STATIC, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.second_database, 153, 139, 140, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_DETAIL_FIRST, JUNCTRA_CONTROL_EDIT, "", 7, 149, 140, 44,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_MULTILINE |
           JUNCTRA_ES_READONLY | JUNCTRA_ES_AUTOVSCROLL | JUNCTRA_ES_AUTOHSCROLL |
           JUNCTRA_ES_NOHIDESEL,
       0},
      {IDC_DETAIL_SECOND, JUNCTRA_CONTROL_EDIT, "", 153, 149, 140, 44,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_MULTILINE |
           JUNCTRA_ES_READONLY | JUNCTRA_ES_AUTOVSCROLL | JUNCTRA_ES_AUTOHSCROLL |
           JUNCTRA_ES_NOHIDESEL,
       0},
      {IDC_DETAIL_BASE_LABEL, JUNCTRA_CONTROL_STATIC_TEXT, kTexts.base_database, 7, 200, 90, 8,
       kVisible | JUNCTRA_WS_GROUP, 0},
      {IDC_DETAIL_BASE, JUNCTRA_CONTROL_EDIT, "", 99, 198, 194, 12,
       kVisible | JUNCTRA_WS_BORDER | JUNCTRA_WS_TABSTOP | JUNCTRA_ES_READONLY |
           JUNCTRA_ES_AUTOHSCROLL,
       0},
      {IDC_TAKE_FIRST, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.take_first, 7, 215, 70, 14,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP, 0},
      {IDC_TAKE_SECOND, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.take_second, 153, 215, 70, 14,
       kVisible | JUNCTRA_WS_TABSTOP, 0},
      {IDC_COPY, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.copy, 7, 235, 50, 14,
       kVisible | JUNCTRA_WS_GROUP | JUNCTRA_WS_TABSTOP, 0},
      {IDC_MERGE_DECIDED, JUNCTRA_CONTROL_PUSH_BUTTON, kTexts.merge_decided, 118, 235, 120, 14,
       kVisible | JUNCTRA_WS_TABSTOP, 0},
      {IDC_OK, JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON, "OK", 243, 235, 50, 14,
       kVisible | JUNCTRA_WS_TABSTOP | JUNCTRA_BS_DEFPUSHBUTTON, 0},
  };

  static constexpr JunctraDialog kDialogs[] = {
      {IDD_ABOUTBOX, kTexts.about_caption, 217, 67, kDialogStyle, 0, "MS Sans Serif", 8,
       kAboutControls, std::size(kAboutControls)},
      {IDD_JUNCTRA_DIALOG, "Junctra", 185, 146, kDialogStyle | JUNCTRA_WS_VISIBLE,
       JUNCTRA_WS_EX_APPWINDOW, "MS Sans Serif", 8, kMainControls, std::size(kMainControls)},
      {IDD_ERROR_DIALOG, kTexts.error_list_caption, 300, 256, kDialogStyle, 0, "MS Sans Serif", 8,
       kErrorControls, std::size(kErrorControls)},
  };

  static constexpr JunctraIcon kIcons[] = {
      {IDR_MAINFRAME, kJunctraIconPng, sizeof(kJunctraIconPng)},
  };

  static constexpr JunctraResourceTable kTable = {
      JUNCTRA_RESOURCE_FORMAT_VERSION,
      kStrings,
      std::size(kStrings),
      kDialogs,
      std::size(kDialogs),
      kIcons,
      std::size(kIcons),
  };
};

}  // namespace junctra
