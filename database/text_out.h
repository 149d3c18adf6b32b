// Where a writer's text goes: a file (CTAVStdioFile), or memory that is
// written to one later (EncodedText), in the same bytes either way.
#pragma once

#include <string_view>

namespace junctra {

class TextOut {
 public:
  virtual ~TextOut() = default;
  // Each "\n" and each "\r" becomes CR LF; the text ends at its first NUL.
  virtual void WriteString(std::u16string_view text) = 0;
  // Bytes as they are, such as those CTAVStdioFile::Encode made.
  virtual void WriteBytes(std::string_view bytes) = 0;
};

}  // namespace junctra
