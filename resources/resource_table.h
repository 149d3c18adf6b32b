/* Layout of a resource module: the string table, the dialog templates and
 * the icon. The built-in module is compiled into the program; a satellite
 * library exports JunctraResourceTable() returning the same layout. Plain C
 * so that a satellite can be built by any compiler. Texts are UTF-8. */
#ifndef JUNCTRA_RESOURCES_RESOURCE_TABLE_H_
#define JUNCTRA_RESOURCES_RESOURCE_TABLE_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Raised whenever the layout below changes; a satellite of another version
 * is not loaded. */
#define JUNCTRA_RESOURCE_FORMAT_VERSION 2u
#define JUNCTRA_RESOURCE_ENTRY_POINT "JunctraResourceTable"

typedef struct JunctraString {
  uint16_t id;
  const char* text;
} JunctraString;

typedef enum JunctraControlKind {
  JUNCTRA_CONTROL_STATIC_TEXT = 1,
  JUNCTRA_CONTROL_STATIC_ICON = 2,
  JUNCTRA_CONTROL_EDIT = 3,
  JUNCTRA_CONTROL_PUSH_BUTTON = 4,
  JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON = 5,
  JUNCTRA_CONTROL_LIST_BOX = 6
} JunctraControlKind;

/* Control and dialog styles, with Windows' values. */
#define JUNCTRA_WS_VISIBLE 0x10000000u
#define JUNCTRA_WS_BORDER 0x00800000u
#define JUNCTRA_WS_TABSTOP 0x00010000u
#define JUNCTRA_WS_GROUP 0x00020000u
#define JUNCTRA_WS_VSCROLL 0x00200000u
#define JUNCTRA_WS_HSCROLL 0x00100000u
#define JUNCTRA_WS_POPUP 0x80000000u
#define JUNCTRA_WS_CAPTION 0x00C00000u
#define JUNCTRA_WS_SYSMENU 0x00080000u
#define JUNCTRA_DS_MODALFRAME 0x00000080u
#define JUNCTRA_DS_SETFONT 0x00000040u
#define JUNCTRA_WS_EX_APPWINDOW 0x00040000u
#define JUNCTRA_ES_MULTILINE 0x00000004u
#define JUNCTRA_ES_AUTOVSCROLL 0x00000040u
#define JUNCTRA_ES_AUTOHSCROLL 0x00000080u
#define JUNCTRA_ES_READONLY 0x00000800u
#define JUNCTRA_ES_WANTRETURN 0x00001000u
#define JUNCTRA_ES_NOHIDESEL 0x00000100u
#define JUNCTRA_LBS_NOTIFY 0x00000001u
#define JUNCTRA_LBS_NOINTEGRALHEIGHT 0x00000100u
#define JUNCTRA_LBS_WANTKEYBOARDINPUT 0x00000400u
#define JUNCTRA_SS_LEFT 0x00000000u
#define JUNCTRA_SS_ICON 0x00000003u
#define JUNCTRA_SS_NOPREFIX 0x00000080u
#define JUNCTRA_BS_DEFPUSHBUTTON 0x00000001u

typedef struct JunctraControl {
  int32_t id;   /* -1: none */
  int32_t kind; /* JunctraControlKind */
  const char* text;
  int16_t x, y, width, height; /* dialog units */
  uint32_t style;
  int32_t resource_id; /* static icon: the icon's ID; else 0 */
} JunctraControl;

typedef struct JunctraDialog {
  uint16_t id;
  const char* caption;
  int16_t width, height; /* dialog units */
  uint32_t style;
  uint32_t ex_style;
  const char* font_name;
  int16_t font_points;
  const JunctraControl* controls; /* in tab order */
  size_t control_count;
} JunctraDialog;

typedef struct JunctraIcon {
  uint16_t id;
  const unsigned char* png; /* PNG image bytes */
  size_t png_size;
} JunctraIcon;

typedef struct JunctraResourceTable {
  uint32_t format_version;
  const JunctraString* strings;
  size_t string_count;
  const JunctraDialog* dialogs;
  size_t dialog_count;
  const JunctraIcon* icons;
  size_t icon_count;
} JunctraResourceTable;

typedef const JunctraResourceTable* (*JunctraResourceTableFunction)(void);

#ifdef __cplusplus
}
#endif

#endif /* JUNCTRA_RESOURCES_RESOURCE_TABLE_H_ */
