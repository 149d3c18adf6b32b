#include "ui/error_list_text.h"

namespace junctra {

std::u16string ErrorListText(const std::vector<std::u16string>& errors,
                             std::u16string_view line_end) {
  std::u16string text;
  for (const std::u16string& line : errors) {
    text += line;
    text += line_end;
  }
  return text;
}

}  // namespace junctra
