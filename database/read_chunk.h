// One chunk of a text read: the step of the reading algorithm that the text
// file class and FileText share. The chunk's characters count up to its
// first NUL; they are cut after the first line feed, and every carriage
// return among them is removed.
#pragma once

#include <cstddef>

namespace junctra {

struct ReadChunk {
  std::size_t length = 0;    // characters written
  std::size_t consumed = 0;  // bytes taken: through the line feed, else all
  bool line_ended = false;
  // A NUL ended the text and something other than NULs followed it in the
  // chunk: text of the file that is never delivered.
  bool hid_text = false;
  bool saw_carriage_return = false;
};

// Decodes got bytes (UTF-16LE when unicode, an odd last byte dropped; else
// one character per byte) into out, which must not overlap them and needs
// room for as many characters as the bytes hold: past those decoded it may
// be left with scraps.
ReadChunk DecodeChunk(const char* bytes, std::size_t got, bool unicode, char16_t* out);

}  // namespace junctra
