// The Windows resources as built into this test program and the German
// satellite DLL: they must say what the C++ tables they are generated from
// say.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "resources/resource_table.h"
#include "tests/app/app_fake_env.h"

#include <windows.h>
// The names of these methods, not the system's macros.
#undef LoadLibrary
#undef LoadString

extern "C" const JunctraResourceTable* JunctraGermanResources(void);

namespace junctra {
namespace {

std::filesystem::path GermanDll() { return BuiltProgramFolder() / kGermanSatellite; }

// The bytes of a resource, empty when the module lacks it.
std::string ResourceBytes(void* module, unsigned id, const wchar_t* type) {
  const auto handle = static_cast<HMODULE>(module);
  HRSRC found = ::FindResourceW(handle, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return {};
  const void* data = ::LockResource(::LoadResource(handle, found));
  return std::string(static_cast<const char*>(data), ::SizeofResource(handle, found));
}

// Reads a resource's little-endian fields in order; past the end it gives
// zeros and remembers the overrun.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}

  template <typename T>
  T Take() {
    T value{};
    if (pos_ + sizeof value > bytes_.size()) {
      overrun_ = true;
      pos_ = bytes_.size();
      return value;
    }
    std::memcpy(&value, bytes_.data() + pos_, sizeof value);
    pos_ += sizeof value;
    return value;
  }
  std::u16string String() {
    std::u16string text;
    while (char16_t c = Take<char16_t>()) text += c;
    return text;
  }
  // A name or an ordinal: 0xFFFF then the number, else a string.
  std::u16string NameOrOrdinal(std::uint16_t* ordinal) {
    *ordinal = 0;
    if (pos_ + 2 <= bytes_.size() && bytes_[pos_] == '\xff' && bytes_[pos_ + 1] == '\xff') {
      Take<std::uint16_t>();
      *ordinal = Take<std::uint16_t>();
      return {};
    }
    return String();
  }
  void AlignTo4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
  bool overrun() const { return overrun_; }

 private:
  const std::string& bytes_;
  std::size_t pos_ = 0;
  bool overrun_ = false;
};

// Windows' atoms of the control classes.
std::uint16_t ClassAtom(std::int32_t kind) {
  switch (kind) {
    case JUNCTRA_CONTROL_EDIT:
      return 0x81;
    case JUNCTRA_CONTROL_PUSH_BUTTON:
    case JUNCTRA_CONTROL_DEFAULT_PUSH_BUTTON:
      return 0x80;
    case JUNCTRA_CONTROL_LIST_BOX:
      return 0x83;
    default:
      return 0x82;
  }
}

// Parses the extended dialog template with the dialog's ID in the module
// and compares every field with the table's dialog.
void ExpectTemplateMatches(void* module, const JunctraDialog& dialog) {
  SCOPED_TRACE("dialog " + std::to_string(dialog.id));
  const std::string bytes = ResourceBytes(module, dialog.id, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  ASSERT_FALSE(bytes.empty());
  Reader in(bytes);
  EXPECT_EQ(in.Take<std::uint16_t>(), 1);       // version
  EXPECT_EQ(in.Take<std::uint16_t>(), 0xFFFF);  // the extended form
  in.Take<std::uint32_t>();                     // help ID
  EXPECT_EQ(in.Take<std::uint32_t>(), dialog.ex_style);
  EXPECT_EQ(in.Take<std::uint32_t>(), dialog.style);
  const std::uint16_t count = in.Take<std::uint16_t>();
  ASSERT_EQ(count, dialog.control_count);
  in.Take<std::int16_t>();
  in.Take<std::int16_t>();
  EXPECT_EQ(in.Take<std::int16_t>(), dialog.width);
  EXPECT_EQ(in.Take<std::int16_t>(), dialog.height);
  std::uint16_t ordinal;
  EXPECT_EQ(in.NameOrOrdinal(&ordinal), u"");  // no menu
  EXPECT_EQ(in.NameOrOrdinal(&ordinal), u"");  // the dialog class
  EXPECT_EQ(in.String(), Utf8ToUtf16(dialog.caption));
  EXPECT_EQ(in.Take<std::uint16_t>(), dialog.font_points);
  in.Take<std::uint16_t>();  // weight
  in.Take<std::uint16_t>();  // italic, character set
  EXPECT_EQ(in.String(), Utf8ToUtf16(dialog.font_name));

  for (std::size_t i = 0; i < count; ++i) {
    const JunctraControl& control = dialog.controls[i];
    SCOPED_TRACE("control " + std::to_string(i));
    in.AlignTo4();
    in.Take<std::uint32_t>();  // help ID
    EXPECT_EQ(in.Take<std::uint32_t>(), 0u);
    EXPECT_EQ(in.Take<std::uint32_t>(), control.style | WS_CHILD);
    EXPECT_EQ(in.Take<std::int16_t>(), control.x);
    EXPECT_EQ(in.Take<std::int16_t>(), control.y);
    EXPECT_EQ(in.Take<std::int16_t>(), control.width);
    EXPECT_EQ(in.Take<std::int16_t>(), control.height);
    EXPECT_EQ(in.Take<std::int32_t>(), control.id);
    EXPECT_EQ(in.NameOrOrdinal(&ordinal), u"");
    EXPECT_EQ(ordinal, ClassAtom(control.kind));
    const std::u16string text = in.NameOrOrdinal(&ordinal);
    if (control.kind == JUNCTRA_CONTROL_STATIC_ICON) {
      EXPECT_EQ(ordinal, control.resource_id);
    } else {
      EXPECT_EQ(text, Utf8ToUtf16(control.text));
    }
    EXPECT_EQ(in.Take<std::uint16_t>(), 0);  // no creation data
  }
  EXPECT_FALSE(in.overrun());
}

// Every string, every dialog template and the icon of a module against its
// table.
void ExpectModuleMatches(const ResourceModule& module, const JunctraResourceTable& table) {
  ASSERT_NE(module.native_handle(), nullptr);
  for (std::size_t i = 0; i < table.string_count; ++i) {
    EXPECT_EQ(module.LoadString(table.strings[i].id), Utf8ToUtf16(table.strings[i].text))
        << table.strings[i].id;
  }
  for (std::size_t i = 0; i < table.dialog_count; ++i) {
    ExpectTemplateMatches(module.native_handle(), table.dialogs[i]);
  }

  // Icon 128: a 32x32 image of 32 bits, stored as a bitmap, which every
  // Windows version draws.
  const std::string group = ResourceBytes(module.native_handle(), IDR_MAINFRAME,
                                          MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  Reader in(group);
  in.Take<std::uint16_t>();
  ASSERT_EQ(in.Take<std::uint16_t>(), 1);  // icons
  const std::uint16_t count = in.Take<std::uint16_t>();
  bool found = false;
  for (std::uint16_t i = 0; i < count; ++i) {
    const auto width = in.Take<std::uint8_t>();
    in.Take<std::uint8_t>();
    in.Take<std::uint16_t>();
    in.Take<std::uint16_t>();
    const auto bits = in.Take<std::uint16_t>();
    in.Take<std::uint32_t>();
    const auto id = in.Take<std::uint16_t>();
    if (width != 32 || bits != 32) continue;
    const std::string image =
        ResourceBytes(module.native_handle(), id, MAKEINTRESOURCEW(3) /* RT_ICON */);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);  // the image and its mask
    EXPECT_EQ(header.biBitCount, 32);
    found = true;
  }
  EXPECT_TRUE(found);
  EXPECT_FALSE(in.overrun());
  EXPECT_NE(
      ::LoadIconW(static_cast<HINSTANCE>(module.native_handle()), MAKEINTRESOURCEW(IDR_MAINFRAME)),
      nullptr);
}

class GermanDllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = Env::Default()->LoadLibrary(GermanDll());
    ASSERT_NE(library_, nullptr) << GermanDll();
    module_ = ResourceModule::FromLibrary(*library_);
    ASSERT_NE(module_, nullptr);
  }

  std::unique_ptr<Library> library_;
  std::unique_ptr<ResourceModule> module_;
};

TEST(BuiltInResourcesTest, ProgramModuleHoldsTheBuiltInTable) {
  EXPECT_EQ(ResourceModule::BuiltIn().native_handle(), ::GetModuleHandleW(nullptr));
  ExpectModuleMatches(ResourceModule::BuiltIn(), *JunctraBuiltInResources());
}

TEST_F(GermanDllTest, DllHoldsTheGermanTable) {
  ExpectModuleMatches(*module_, *JunctraGermanResources());
}

// Both programs, each as its own file: the manifest that asks for the
// common controls of version 6 and per-monitor DPI awareness, the icon in
// every size from 16 to 256 pixels, and version information that names the
// file itself.
TEST(ProgramFileTest, HoldsManifestIconsAndItsOwnName) {
  for (const char* name : {"junctra.exe", "junctra.com"}) {
    const std::filesystem::path program = BuiltProgramFolder() / name;
    const std::unique_ptr<Library> library = Env::Default()->LoadLibrary(program);
    ASSERT_NE(library, nullptr) << program;
    void* module = library->ResourceHandle();

    const std::string manifest = ResourceBytes(module, 1, MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    for (const char* part : {R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
                             ">PerMonitorV2, PerMonitor</dpiAwareness>"}) {
      EXPECT_NE(manifest.find(part), std::string::npos) << name << " lacks " << part;
    }

    const std::string group =
        ResourceBytes(module, IDR_MAINFRAME, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    Reader icons(group);
    icons.Take<std::uint32_t>();
    std::vector<int> sizes(icons.Take<std::uint16_t>());
    for (int& size : sizes) {
      size = icons.Take<std::uint8_t>();
      if (size == 0) size = 256;
      icons.Take<std::uint8_t>();                                        // height
      for (int skip = 0; skip < 6; ++skip) icons.Take<std::uint16_t>();  // colours to ID
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256})) << name;

    const std::string version = ResourceBytes(module, 1, MAKEINTRESOURCEW(16) /* RT_VERSION */);
    const auto utf16 = [](std::string_view text) {
      std::string bytes;
      for (char c : text) bytes += {c, '\0'};
      return bytes;
    };
    const std::string other = name == std::string("junctra.exe") ? "junctra.com" : "junctra.exe";
    EXPECT_NE(version.find(utf16(name)), std::string::npos) << name;
    EXPECT_EQ(version.find(utf16(other)), std::string::npos) << name;
  }
}

// Loaded as data the satellite runs nothing anyway; it has nothing to run
// either: no entry point, no code, no imports, no exports.
TEST(GermanDllFileTest, HoldsResourcesOnly) {
  std::ifstream in(GermanDll(), std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(file.size(), sizeof(IMAGE_DOS_HEADER));
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, file.data(), sizeof dos);
  ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
  const auto headers = static_cast<std::size_t>(dos.e_lfanew);
  ASSERT_LE(headers + sizeof(IMAGE_NT_HEADERS64), file.size());
  IMAGE_NT_HEADERS64 nt;
  std::memcpy(&nt, file.data() + headers, sizeof nt);
  ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
  ASSERT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_NE(nt.FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
  EXPECT_EQ(nt.OptionalHeader.AddressOfEntryPoint, 0u);
  EXPECT_EQ(nt.OptionalHeader.SizeOfCode, 0u);
  const IMAGE_DATA_DIRECTORY* directories = nt.OptionalHeader.DataDirectory;
  EXPECT_EQ(directories[IMAGE_DIRECTORY_ENTRY_IMPORT].Size, 0u);
  EXPECT_EQ(directories[IMAGE_DIRECTORY_ENTRY_EXPORT].Size, 0u);
  EXPECT_EQ(directories[IMAGE_DIRECTORY_ENTRY_TLS].Size, 0u);
  EXPECT_NE(directories[IMAGE_DIRECTORY_ENTRY_RESOURCE].Size, 0u);

  const std::size_t sections =
      headers + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
  ASSERT_LE(sections + nt.FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER), file.size());
  for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    std::memcpy(&section, file.data() + sections + i * sizeof section, sizeof section);
    EXPECT_EQ(section.Characteristics & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE), 0u)
        << std::string(reinterpret_cast<const char*>(section.Name),
                       strnlen(reinterpret_cast<const char*>(section.Name), 8));
  }
}

}  // namespace
}  // namespace junctra
