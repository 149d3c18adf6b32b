// A resource module: strings, dialog templates and icons by ID, either the
// built-in one or a satellite library's. The current module is where every
// text the program shows or prints comes from.
#pragma once

#include <string>

#include "resources/resource_table.h"

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
};

// Resource IDs of the dialog templates and the icon.
enum ResourceId : unsigned {
  IDD_ABOUTBOX = 100,
  IDD_JUNCTRA_DIALOG = 102,
  IDR_MAINFRAME = 128,
  IDD_ERROR_DIALOG = 130,
};

class ResourceModule {
 public:
  // table may be null: a module without resources.
  explicit ResourceModule(const JunctraResourceTable* table) : table_(table) {}

  // The program's own, US English module.
  static const ResourceModule& BuiltIn();

  // The string, or empty when the module lacks it. Strings from 113 on are
  // newer than some satellites' tables: a module without one gives the
  // built-in text.
  std::u16string LoadString(unsigned id) const;
  // Null when the module lacks the template.
  const JunctraDialog* FindDialog(unsigned id) const;
  // The icon from this module, else from the built-in one.
  const JunctraIcon* FindIcon(unsigned id) const;

  const JunctraResourceTable* table() const { return table_; }

 private:
  const JunctraResourceTable* table_;
};

// The current resource module, as Windows programs have one; the built-in
// one until set.
const ResourceModule& CurrentResourceModule();
// null restores the built-in module. The module must outlive its use.
void SetCurrentResourceModule(const ResourceModule* module);

// A string of the current module.
inline std::u16string LoadResourceString(unsigned id) {
  return CurrentResourceModule().LoadString(id);
}

}  // namespace junctra

// The built-in table, defined in resources/.
extern "C" const JunctraResourceTable* JunctraBuiltInResources(void);
