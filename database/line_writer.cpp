#include "database/line_writer.h"

#include "database/text_out.h"
#include "platform/text.h"

namespace junctra {

LineWriter& LineWriter::operator<<(std::u16string_view text) {
  if (text.size() < kLongField) {
    line_ += text;
  } else {
    Flush();
    file_.WriteString(text);
  }
  return *this;
}

LineWriter& LineWriter::operator<<(std::int64_t number) {
  AppendDecimal(line_, number);
  return *this;
}

void LineWriter::Flush() {
  if (line_.empty()) return;
  file_.WriteString(line_);
  line_.clear();
}

}  // namespace junctra
