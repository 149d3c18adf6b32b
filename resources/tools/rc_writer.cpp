#include "resources/tools/rc_writer.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace junctra {
namespace {

// Windows' values; the script includes no headers.
constexpr std::uint32_t kChild = 0x40000000u;
constexpr unsigned kButtonClass = 0x80;
constexpr unsigned kEditClass = 0x81;
constexpr unsigned kStaticClass = 0x82;
constexpr unsigned kListBoxClass = 0x83;
constexpr unsigned kDefaultCharset = 1;
constexpr unsigned kOsNtWindows32 = 0x40004;
constexpr unsigned kFileTypeApp = 1;
constexpr unsigned kFileTypeDll = 2;
constexpr unsigned kUnicodeCodePage = 1200;
constexpr unsigned kManifestType = 24;  // RT_MANIFEST
constexpr unsigned kProcessManifestId = 1;

std::string Hex(std::uint32_t value, int digits = 8) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

// Controls by class atom, so that the templates hold the atoms the dialog
// manager expects rather than class names. Empty for a kind Windows has no
// class for.
std::string ClassAtom(std::int32_t kind) {
  switch (kind) {
    case JUNCTRA_CONTROL_STATIC_TEXT:
    case JUNCTRA_CONTROL_STATIC_ICON:
      return std::to_string(kStaticClass) + " /* Static */";
    case JUNCTRA_CONTROL_EDIT:
      return std::to_string(kEditClass) + " /* Edit */";
    case JUNCTRA_CONTROL_PUSH_BUTTON:
    case JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON:
      return std::to_string(kButtonClass) + " /* Button */";
    case JUNCTRA_CONTROL_LIST_BOX:
      return std::to_string(kListBoxClass) + " /* ListBox */";
  }
  return {};
}

// A control is a child window. windres adds WS_VISIBLE to every control, so
// a hidden one says NOT.
std::string ControlStyle(std::uint32_t style) {
  std::string text = Hex(style | kChild);
  if ((style & JUNCTRA_WS_VISIBLE) == 0) text += " | NOT " + Hex(JUNCTRA_WS_VISIBLE);
  return text;
}

// "1.0" as the four numbers of FILEVERSION: 1,0,0,0.
std::string VersionNumbers(const std::string& version) {
  std::vector<unsigned long> parts;
  for (std::size_t start = 0; start <= version.size() && parts.size() < 4;) {
    std::size_t dot = version.find('.', start);
    if (dot == std::string::npos) dot = version.size();
    parts.push_back(std::strtoul(version.substr(start, dot - start).c_str(), nullptr, 10));
    start = dot + 1;
  }
  parts.resize(4, 0);
  return std::to_string(parts[0]) + "," + std::to_string(parts[1]) + "," +
         std::to_string(parts[2]) + "," + std::to_string(parts[3]);
}

bool IsLibraryName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string suffix = name.substr(name.size() - 4);
  for (char& c : suffix) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return suffix == ".dll";
}

bool WriteDialog(const JunctraDialog& dialog, std::string* out) {
  std::string& rc = *out;
  rc += std::to_string(dialog.id) + " DIALOGEX 0, 0, " + std::to_string(dialog.width) + ", " +
        std::to_string(dialog.height) + "\n";
  rc += "STYLE " + Hex(dialog.style) + "\n";
  rc += "EXSTYLE " + Hex(dialog.ex_style) + "\n";
  rc += "CAPTION " + RcString(dialog.caption) + "\n";
  rc += "FONT " + std::to_string(dialog.font_points) + ", " + RcString(dialog.font_name) +
        ", 0, 0, " + std::to_string(kDefaultCharset) + "\n";
  rc += "BEGIN\n";
  for (std::size_t i = 0; i < dialog.control_count; ++i) {
    const JunctraControl& control = dialog.controls[i];
    const std::string atom = ClassAtom(control.kind);
    if (atom.empty()) return false;
    // A static icon's text is the icon's ID.
    const std::string text = control.kind == JUNCTRA_CONTROL_STATIC_ICON
                                 ? std::to_string(control.resource_id)
                                 : RcString(control.text);
    rc += "  CONTROL ";
    rc += text;
    for (const std::string& field :
         {std::to_string(control.id), atom, ControlStyle(control.style), std::to_string(control.x),
          std::to_string(control.y), std::to_string(control.width),
          std::to_string(control.height)}) {
      rc += ", ";
      rc += field;
    }
    rc += "\n";
  }
  rc += "END\n\n";
  return true;
}

void WriteVersionInfo(const RcFileInfo& info, std::string* out) {
  char block[16];
  std::snprintf(block, sizeof block, "%04X%04X", info.language, kUnicodeCodePage);
  const std::string numbers = VersionNumbers(info.version);
  const auto value = [](const char* key, const std::string& text) {
    return std::string("      VALUE \"") + key + "\", " + RcString(text) + "\n";
  };
  std::string& rc = *out;
  rc += "1 VERSIONINFO\n";
  rc += "FILEVERSION " + numbers + "\n";
  rc += "PRODUCTVERSION " + numbers + "\n";
  rc += "FILEFLAGSMASK 0x3F\nFILEFLAGS 0x0\n";
  rc += "FILEOS " + Hex(kOsNtWindows32) + "\n";
  rc += "FILETYPE " +
        std::to_string(IsLibraryName(info.original_filename) ? kFileTypeDll : kFileTypeApp) + "\n";
  rc += "FILESUBTYPE 0x0\n";
  rc += "BEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n";
  rc += std::string("    BLOCK \"") + block + "\"\n    BEGIN\n";
  rc += value("CompanyName", "Junctra");
  rc += value("FileDescription", info.description);
  rc += value("FileVersion", info.version);
  rc += value("InternalName", "junctra");
  rc += value("OriginalFilename", info.original_filename);
  rc += value("ProductName", "Junctra");
  rc += value("ProductVersion", info.version);
  rc += "    END\n  END\n";
  rc += "  BLOCK \"VarFileInfo\"\n  BEGIN\n";
  rc += "    VALUE \"Translation\", " + Hex(info.language, 4) + ", " +
        std::to_string(kUnicodeCodePage) + "\n";
  rc += "  END\nEND\n";
}

std::string Preamble(const RcFileInfo& info) {
  std::string rc =
      "// Generated by make_rc from the resource table; change the table, not this file.\n"
      "#pragma code_page(65001)\n\n";
  // The primary language is the identifier's low 10 bits, the sublanguage the
  // rest: 0x0407 is 0x07, 0x01.
  rc += "LANGUAGE " + Hex(info.language & 0x3FFu, 2) + ", " + Hex(info.language >> 10, 2) + "\n\n";
  return rc;
}

}  // namespace

std::string RcString(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') {
      quoted += "\"\"";
    } else if (c == '\\') {
      quoted += "\\\\";
    } else if (c == '\n') {
      quoted += "\\n";  // a string ends at the end of its line
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string WriteVersionRc(const RcFileInfo& info) {
  std::string rc = Preamble(info);
  WriteVersionInfo(info, &rc);
  return rc;
}

std::optional<std::string> WriteRc(const JunctraResourceTable& table, const RcFileInfo& info) {
  std::string rc = Preamble(info);

  rc += "STRINGTABLE\nBEGIN\n";
  for (std::size_t i = 0; i < table.string_count; ++i) {
    rc +=
        "  " + std::to_string(table.strings[i].id) + ", " + RcString(table.strings[i].text) + "\n";
  }
  rc += "END\n\n";

  for (std::size_t i = 0; i < table.dialog_count; ++i) {
    if (!WriteDialog(table.dialogs[i], &rc)) return std::nullopt;
  }
  for (std::size_t i = 0; i < table.icon_count; ++i) {
    rc += std::to_string(table.icons[i].id) + " ICON " + RcString(info.icon_file) + "\n";
  }
  if (!info.manifest_file.empty()) {
    rc += std::to_string(kProcessManifestId) + " " + std::to_string(kManifestType) + " " +
          RcString(info.manifest_file) + "\n";
  }
  rc += "\n";
  if (!info.original_filename.empty()) WriteVersionInfo(info, &rc);
  return rc;
}

}  // namespace junctra
