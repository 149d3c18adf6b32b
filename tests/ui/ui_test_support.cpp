#include "tests/ui/ui_test_support.h"

#include <QAccessible>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/env.h"
#include "platform/text.h"
#include "tests/database_files.h"

namespace junctra {

std::string UnnamedControls(const QWidget* dialog) {
  std::string unnamed;
  for (QWidget* control : dialog->findChildren<QWidget*>()) {
    if (!(control->focusPolicy() & Qt::TabFocus) || control->isHidden()) continue;
    if (QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty()) {
      unnamed += control->objectName().toStdString() + " ";
    }
  }
  return unnamed;
}

const ResourceModule* GermanModule() {
  static std::unique_ptr<Library> library;
  static std::optional<ResourceModule> module;
  if (!module) {
    const char* program_dir = std::getenv("JUNCTRA_PROGRAM_DIR");
    if (program_dir == nullptr) return nullptr;
    library =
        Env::Default()->LoadLibrary(std::filesystem::path(program_dir) / "de" / "junctra-mui.so");
    if (library == nullptr) return nullptr;
    auto entry = reinterpret_cast<JunctraResourceTableFunction>(
        library->Symbol(JUNCTRA_RESOURCE_ENTRY_POINT));
    if (entry == nullptr) return nullptr;
    module.emplace(entry());
  }
  return &*module;
}

void WriteUtf16File(const std::filesystem::path& path, std::u16string_view text) {
  WriteDatabaseFile(path, text);
}

void WriteDatabase(const std::filesystem::path& folder, const std::vector<TestTag>& tags) {
  std::filesystem::create_directories(folder);
  std::u16string text = u"//4.x - Application Tags\n";
  int sequence = 1;
  for (const TestTag& tag : tags) {
    text += u"#" + Utf8ToUtf16(std::to_string(sequence++)) + u"|" + tag.name + u"|" +
            Utf8ToUtf16(std::to_string(tag.number)) + u"|" + Utf8ToUtf16(std::to_string(tag.type)) +
            u"|note\n#Parameters\nP1\n#Alarm\n#History\n";
  }
  if (!tags.empty()) text += u"#";
  WriteUtf16File(folder / "tagl.txt", text);
}

std::vector<std::u16string> ReadTagNames(const std::filesystem::path& tag_file) {
  std::ifstream in(tag_file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  std::vector<std::u16string> names;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string line = text.substr(start, end - start);
    // Tag lines: "#<number>|<name>|..."
    if (line.size() > 1 && line[0] == u'#' && line[1] >= u'0' && line[1] <= u'9') {
      const std::size_t bar = line.find(u'|');
      const std::size_t next = line.find(u'|', bar + 1);
      names.push_back(line.substr(bar + 1, next - bar - 1));
    }
    start = end + 1;
  }
  return names;
}

}  // namespace junctra
