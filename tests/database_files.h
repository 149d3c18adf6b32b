// Writes database files for tests the way the program writes them:
// UTF-16LE with a byte-order mark, each "\n" stored as CR LF.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace junctra {

inline std::string Utf16FileBytes(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  auto put = [&bytes](char16_t c) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  };
  for (char16_t c : text) {
    if (c == u'\n') put(u'\r');
    put(c);
  }
  return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline void WriteDatabaseFile(const std::filesystem::path& path, std::u16string_view text) {
  WriteBytes(path, Utf16FileBytes(text));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A tag block as the writer lays it out, for building tagl.txt texts.
inline std::u16string TagBlock(std::u16string_view name, std::u16string_view numbers,
                               std::u16string_view parameters = u"",
                               std::u16string_view alarm = u"", std::u16string_view history = u"") {
  std::u16string block = u"#1|";
  block.append(name).append(u"|").append(numbers).append(
      u"\n#Parameters\n");  // numbers: "N|TYPE|REST"
  block.append(parameters).append(u"#Alarm\n").append(alarm).append(u"#History\n").append(history);
  return block;
}

inline std::u16string TagFile(std::u16string_view blocks) {
  std::u16string text = u"//4.x - Application Tags\n";
  text.append(blocks);
  if (!blocks.empty()) text.append(u"#");
  return text;
}

}  // namespace junctra
