// make_rc CULTURE VERSION ICON FILE_NAME OUTPUT [MANIFEST]
//
// Writes the resource script of one language, generated from its C++ table,
// for the Windows file FILE_NAME (the program or a satellite), with the
// application manifest MANIFEST when given. An ICON of "-" leaves the table
// out: the script holds FILE_NAME's version information alone. A FILE_NAME
// of "-" leaves the version information out: the table is linked into
// several programs, each with its own. It runs on the build machine, so it
// is plain C++ with no Windows headers.
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "resources/resource_table.h"
#include "resources/tools/rc_writer.h"

extern "C" const JunctraResourceTable* JunctraBuiltInResources(void);
extern "C" const JunctraResourceTable* JunctraGermanResources(void);

namespace {

struct Language {
  std::string_view culture;
  const JunctraResourceTable* (*table)(void);
  std::uint16_t id;
  const char* description;
};

constexpr Language kLanguages[] = {
    {"en-US", JunctraBuiltInResources, 0x0409, "Junctra"},
    {"de-DE", JunctraGermanResources, 0x0407, "Deutsche Texte für Junctra"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 && argc != 7) {
    std::fputs("usage: make_rc CULTURE VERSION ICON FILE_NAME OUTPUT [MANIFEST]\n", stderr);
    return 2;
  }
  const std::string_view icon = argv[3];
  const std::string_view file_name = argv[4];
  for (const Language& language : kLanguages) {
    if (language.culture != argv[1]) continue;
    junctra::RcFileInfo info;
    info.language = language.id;
    info.version = argv[2];
    info.icon_file = icon;
    if (file_name != "-") info.original_filename = file_name;
    if (argc == 7) info.manifest_file = argv[6];
    info.description = language.description;
    const std::optional<std::string> rc =
        icon == "-" ? junctra::WriteVersionRc(info) : junctra::WriteRc(*language.table(), info);
    if (!rc) {
      std::fprintf(stderr, "make_rc: a control of the %s table has no Windows class\n", argv[1]);
      return 1;
    }
    std::ofstream out(argv[5], std::ios::binary | std::ios::trunc);
    out << *rc;
    out.close();
    if (!out) {
      std::fprintf(stderr, "make_rc: can not write %s\n", argv[5]);
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr, "make_rc: no table for culture '%s'\n", argv[1]);
  return 2;
}
