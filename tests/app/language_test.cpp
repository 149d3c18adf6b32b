#include "app/language.h"

#include <gtest/gtest.h>

#include <set>

#include "app/settings_folder.h"
#include "platform/path_ops.h"
#include "platform/text.h"
#include "tests/app/app_fake_env.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

TEST(CultureTableTest, HoldsEveryRowOnce) {
  std::span<const CultureEntry> table = CultureTable();
  EXPECT_EQ(table.size(), 227u);
  std::set<std::uint32_t> ids;
  std::set<std::u16string_view> names;
  for (const CultureEntry& entry : table) {
    EXPECT_TRUE(ids.insert(entry.lcid).second) << entry.lcid;
    EXPECT_TRUE(names.insert(entry.name).second) << Utf16ToUtf8(entry.name);
    EXPECT_TRUE(IsSafeCultureName(entry.name)) << Utf16ToUtf8(entry.name);
  }

  struct Row {
    std::uint32_t lcid;
    std::u16string_view name;
  };
  for (const Row& row :
       {Row{0x0001, u"ar"},         Row{0x4001, u"ar-QA"},      Row{0x0007, u"de"},
        Row{0x0407, u"de-DE"},      Row{0x0C07, u"de-AT"},      Row{0x1407, u"de-LI"},
        Row{0x0409, u"en-US"},      Row{0x500A, u"es-PR"},      Row{0x0004, u"zh-CHS"},
        Row{0x7C04, u"zh-CHT"},     Row{0x7C1A, u"sr"},         Row{0x081A, u"sr-SP-Latn"},
        Row{0x0C1A, u"sr-SP-Cyrl"}, Row{0x042C, u"az-AZ-Latn"}, Row{0x082C, u"az-AZ-Cyrl"},
        Row{0x0443, u"uz-UZ-Latn"}, Row{0x0843, u"uz-UZ-Cyrl"}, Row{0x2409, u"en-CB"},
        Row{0x046C, u"ns-ZA"},      Row{0x0414, u"nb-NO"},      Row{0x0014, u"no"},
        Row{0x0814, u"nn-NO"},      Row{0x243B, u"smn-FI"},     Row{0x0C6B, u"quz-PE"},
        Row{0x0065, u"div"},        Row{0x0481, u"mi-NZ"}}) {
    EXPECT_EQ(CultureNameFromLcid(row.lcid), row.name) << row.lcid;
    EXPECT_EQ(LcidFromCultureName(row.name), row.lcid);
  }
  // Exact lookup: no fallback to the language or a neutral name.
  EXPECT_EQ(CultureNameFromLcid(0x10407), u"");
  EXPECT_EQ(CultureNameFromLcid(0x0017), u"");
  EXPECT_EQ(CultureNameFromLcid(0x043A + 0x0400), u"");
  EXPECT_EQ(CultureNameFromLcid(0), u"");
  EXPECT_EQ(LcidFromCultureName(u"DE-de"), 0x0407u);
  EXPECT_EQ(LcidFromCultureName(u""), 0u);
}

class ReadCultureNameTest : public ::testing::Test {
 protected:
  std::u16string Read(std::size_t length = kCultureNameBufferSize) {
    return ReadCultureName(file_, length, &env_);
  }

  TempDir dir_;
  std::filesystem::path file_ = dir_.path() / kProgramSettingsFileName;
  AppFakeEnv env_;
};

TEST_F(ReadCultureNameTest, SettingThenUserLocale) {
#ifdef _WIN32
  GTEST_SKIP() << "the user locale comes from LANG here; Windows has no locale variables";
#endif
  env_.variables["LANG"] = "de_AT.UTF-8";
  // No file, then no section, no key, an empty value: the locale decides.
  EXPECT_EQ(Read(), u"de-AT");
  WriteFile(file_, "[Other]\nCultureName=fr-FR\n");
  EXPECT_EQ(Read(), u"de-AT");
  WriteFile(file_, "[Language]\nCulture=fr-FR\n");
  EXPECT_EQ(Read(), u"de-AT");
  WriteFile(file_, "[Language]\nCultureName=\n");
  EXPECT_EQ(Read(), u"de-AT");
  EXPECT_EQ(ReadCultureName("", kCultureNameBufferSize, &env_), u"de-AT");

  WriteFile(file_, "[language]\nculturename = it-IT \n");
  EXPECT_EQ(Read(), u"it-IT");
  EXPECT_EQ(Read(3), u"it");

  env_.variables["LANG"] = "C.UTF-8";
  WriteFile(file_, "");
  EXPECT_EQ(Read(), u"en-US");
  EXPECT_EQ(Read(3), u"en");
  env_.variables["LANG"] = "xx_YY";
  EXPECT_EQ(Read(), u"");
  EXPECT_EQ(Read(0), u"");
}

TEST_F(ReadCultureNameTest, LongNameIsCutTo254) {
  std::string name(255, 'a');
  WriteFile(file_, "[Language]\nCultureName=" + name + "xyz\n");
  EXPECT_EQ(Read(), std::u16string(254, u'a'));
}

// A satellite's file name ends like the system's libraries.
#ifdef _WIN32
const std::string kMui = "-mui.dll";
#else
const std::string kMui = "-mui.so";
#endif

TEST(SatelliteFileNameTest, MovesKnownExtensionsBehindTheName) {
  EXPECT_EQ(SatelliteFileName("junctra"), "junctra" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra.exe"), "Junctra-EXE" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra.DLL"), "Junctra-DLL" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra.oCx"), "Junctra-OCX" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra.bin"), "Junctra.bin" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra.tar.exe"), "Junctra.tar-EXE" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra."), "Junctra." + kMui);
  EXPECT_EQ(SatelliteFileName(".exe"), "");
  EXPECT_EQ(SatelliteFileName(""), "");
  // The console program shares the windowed program's satellite.
  EXPECT_EQ(SatelliteFileName("junctra.com"), "junctra-EXE" + kMui);
  EXPECT_EQ(SatelliteFileName("Junctra.COM"), "Junctra-EXE" + kMui);
  EXPECT_EQ(SatelliteFileName("junctra.cmd"), "junctra.cmd" + kMui);
}

// Fake satellite tables: one without strings 105, 113 and 114, one of another
// format version.
constexpr JunctraString kPartialStrings[] = {{111, "Klasse '%s' anders"}, {101, "&Info"}};
constexpr JunctraResourceTable kPartialTable = {
    JUNCTRA_RESOURCE_FORMAT_VERSION, kPartialStrings, 2, nullptr, 0, nullptr, 0};
constexpr JunctraResourceTable kFutureTable = {
    JUNCTRA_RESOURCE_FORMAT_VERSION + 1, kPartialStrings, 2, nullptr, 0, nullptr, 0};
constexpr JunctraResourceTable kBrokenTable = {
    JUNCTRA_RESOURCE_FORMAT_VERSION, nullptr, 5, nullptr, 0, nullptr, 0};
const JunctraResourceTable* PartialTable() { return &kPartialTable; }
const JunctraResourceTable* FutureTable() { return &kFutureTable; }
const JunctraResourceTable* BrokenTable() { return &kBrokenTable; }
const JunctraResourceTable* NoTable() { return nullptr; }

class SatelliteTest : public ::testing::Test {
 protected:
  SatelliteTest() {
    program_ = dir_.path().generic_string() + "/program/";
    std::filesystem::create_directories(program_);
    env_.module_file = program_ + "junctra";
  }
  ~SatelliteTest() override { SetCurrentResourceModule(nullptr); }

  void MakeFolder(const std::string& name) { std::filesystem::create_directories(program_ + name); }
  void Load(std::u16string_view culture) { LoadSatelliteResources(culture, &handle_, &env_); }
  std::vector<std::filesystem::path> Requests() {
    return std::exchange(env_.load_requests, std::vector<std::filesystem::path>{});
  }

  TempDir dir_;
  std::string program_;
  AppFakeEnv env_;
  ModuleHandle handle_;
};

TEST_F(SatelliteTest, EnglishIsBuiltInWithoutLookup) {
  for (std::u16string_view culture : {u"en-US", u"EN-us", u"en-us"}) {
    handle_.Reset();
    Load(culture);
    EXPECT_TRUE(handle_.is_own_module());
    EXPECT_EQ(handle_.module(), &ResourceModule::BuiltIn());
  }
  EXPECT_TRUE(Requests().empty());
}

TEST_F(SatelliteTest, SearchesCultureFoldersFromLongestName) {
  using Paths = std::vector<std::filesystem::path>;
  // No folder at all: the program folder.
  Load(u"sr-SP-Latn");
  EXPECT_EQ(Requests(), Paths{program_ + "junctra" + kMui});
  EXPECT_TRUE(handle_.is_own_module());

  MakeFolder("sr");
  Load(u"sr-SP-Latn");
  EXPECT_EQ(Requests(), Paths{program_ + "sr/junctra" + kMui});

  MakeFolder("sr-SP");
  Load(u"sr-SP-Latn");
  EXPECT_EQ(Requests(), Paths{program_ + "sr-SP/junctra" + kMui});

  Load(u"");
  EXPECT_EQ(Requests(), Paths{program_ + "junctra" + kMui});

  // Only folders count: a file named like the culture is passed over.
  WriteFile(program_ + "de-AT", "");
  MakeFolder("de");
  Load(u"de-AT");
  EXPECT_EQ(Requests(), Paths{program_ + "de/junctra" + kMui});

  env_.module_file = program_ + "Junctra.exe";
  MakeFolder("it");
  Load(u"it-IT");
  EXPECT_EQ(Requests(), Paths{program_ + "it/Junctra-EXE" + kMui});
}

TEST_F(SatelliteTest, FirstExistingFolderWithoutLibraryGivesBuiltIn) {
  MakeFolder("fr-FR");
  MakeFolder("fr");
  env_.fake_libraries[program_ + "fr/junctra" + kMui] = PartialTable;
  env_.fake_libraries[program_ + "junctra" + kMui] = PartialTable;
  Load(u"fr-FR");
  EXPECT_TRUE(handle_.is_own_module());
  EXPECT_EQ(Requests(), std::vector<std::filesystem::path>{program_ + "fr-FR/junctra" + kMui});

  Load(u"fr");
  EXPECT_TRUE(handle_.is_satellite());
}

TEST_F(SatelliteTest, UnsafeCultureNamesCountAsEmpty) {
  MakeFolder("de");
  std::filesystem::create_directories(dir_.path() / "evil");
  for (std::u16string_view culture :
       {u"../evil", u"../../evil", u"de/../../evil", u"/tmp", u"de/x", u"..", u".", u"de.",
        u"de\\x", u"de x", u"d*", u"de-\u00c4"}) {
    Load(culture);
    EXPECT_EQ(Requests(), std::vector<std::filesystem::path>{program_ + "junctra" + kMui})
        << Utf16ToUtf8(culture);
  }
  EXPECT_TRUE(IsSafeCultureName(u"sr-SP-Latn"));
  EXPECT_TRUE(IsSafeCultureName(u""));
}

TEST_F(SatelliteTest, NoSatelliteWithoutUsableProgramPath) {
  for (const char* module : {"", "junctra", "/opt/junctra/", "/opt/junctra/.exe"}) {
    env_.module_file = module;
    Load(u"de-DE");
    EXPECT_TRUE(handle_.is_own_module()) << module;
  }
  EXPECT_TRUE(Requests().empty());
}

TEST_F(SatelliteTest, UnusableLibrariesAreFreedAndBuiltInUsed) {
  const std::string path = program_ + "junctra" + kMui;
  for (JunctraResourceTableFunction entry :
       {JunctraResourceTableFunction{nullptr}, &FutureTable, &NoTable, &BrokenTable}) {
    env_.fake_libraries[path] = entry;
    Load(u"de-DE");
    EXPECT_TRUE(handle_.is_own_module());
    EXPECT_EQ(env_.libraries_alive, 0);
  }
}

TEST_F(SatelliteTest, HandleOwnsTheLibraryUntilReleased) {
  env_.fake_libraries[program_ + "junctra" + kMui] = PartialTable;
  Load(u"de-DE");
  ASSERT_TRUE(handle_.is_satellite());
  EXPECT_EQ(env_.libraries_alive, 1);

  // Loading again frees the library held before.
  Load(u"de-DE");
  EXPECT_EQ(env_.libraries_alive, 1);

  // Moving keeps the module where the current-module pointer expects it.
  const ResourceModule* module = handle_.module();
  SetCurrentResourceModule(module);
  ModuleHandle moved = std::move(handle_);
  EXPECT_TRUE(handle_.is_null());
  EXPECT_EQ(moved.module(), module);
  EXPECT_EQ(&CurrentResourceModule(), module);

  // Releasing frees the library and never leaves the current module dangling.
  ReleaseSatelliteResources(&moved);
  EXPECT_TRUE(moved.is_null());
  EXPECT_EQ(moved.module(), nullptr);
  EXPECT_EQ(env_.libraries_alive, 0);
  EXPECT_EQ(&CurrentResourceModule(), &ResourceModule::BuiltIn());

  Load(u"en-US");
  ReleaseSatelliteResources(&handle_);
  EXPECT_TRUE(handle_.is_null());
}

TEST_F(SatelliteTest, MissingStringsAreEmptyExceptTheNewerOnes) {
  env_.fake_libraries[program_ + "junctra" + kMui] = PartialTable;
  Load(u"xx");
  ASSERT_TRUE(handle_.is_satellite());
  const ResourceModule& module = *handle_.module();
  EXPECT_EQ(module.LoadString(IDS_CLASS_CONFLICT), u"Klasse '%s' anders");
  EXPECT_EQ(module.LoadString(IDS_FIRST_NO_DATABASE), u"");
  EXPECT_EQ(module.LoadString(IDS_ERROR_READING_FILE),
            ResourceModule::BuiltIn().LoadString(IDS_ERROR_READING_FILE));
  EXPECT_FALSE(module.LoadString(IDS_ERROR_READING_FILE).empty());
  EXPECT_EQ(module.LoadString(IDS_FILE_ERROR), u"%1: %2");
}

// The German satellite as CMake builds it beside the program.
class GermanSatelliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = BuiltProgramFolder();
    env_.module_file = program_ / kProgramFileName;
    env_.load_real_libraries = true;
    env_.variables["LANG"] = "C";
  }
  void TearDown() override { SetCurrentResourceModule(nullptr); }

  std::filesystem::path program_;
  TempDir dir_;
  AppFakeEnv env_;
};

TEST_F(GermanSatelliteTest, SettingsFileSelectsGermanTexts) {
  std::filesystem::path settings =
      MakeFilePath(dir_.path().generic_string() + "/", kProgramSettingsFileName);
  WriteFile(settings, "[Language]\nCultureName=de-DE\n");
  std::u16string culture = ReadCultureName(settings, kCultureNameBufferSize, &env_);
  EXPECT_EQ(culture, u"de-DE");

  ModuleHandle handle;
  LoadSatelliteResources(culture, &handle, &env_);
  ASSERT_TRUE(handle.is_satellite());
  EXPECT_EQ(env_.load_requests, std::vector<std::filesystem::path>{program_ / kGermanSatellite});
  SetCurrentResourceModule(handle.module());

  EXPECT_EQ(FormatMessage(LoadResourceString(IDS_TAG_CONFLICT), u"T1"),
            u"Tag „T1“ ist unterschiedlich definiert");
  EXPECT_EQ(FormatMessage(LoadResourceString(IDS_CLASS_CONFLICT), u"C1"),
            u"Klasse „C1“ ist unterschiedlich definiert");
  EXPECT_EQ(FormatMessage(LoadResourceString(IDS_ERROR_READING_FILE), u"a.txt", u"3"),
            u"Fehler beim Lesen der Datei a.txt in Zeile 3");
  EXPECT_EQ(FormatMessage(LoadResourceString(IDS_OUTPUT_FOLDER_BUSY), u"out/"),
            u"Der Ordner out/ wird von einem anderen Programm verwendet");
  for (unsigned id = IDS_ABOUTBOX; id <= IDS_ERROR_READING_FILE; ++id) {
    EXPECT_FALSE(LoadResourceString(id).empty()) << id;
    EXPECT_NE(LoadResourceString(id), ResourceModule::BuiltIn().LoadString(id)) << id;
  }

#ifndef _WIN32
  // Same dialogs, same layout, German texts. (Windows reads the templates
  // of the DLL, which resources_test compares with the tables.)
  for (unsigned id : {IDD_ABOUTBOX, IDD_JUNCTRA_DIALOG, IDD_ERROR_DIALOG}) {
    const JunctraDialog* german = CurrentResourceModule().FindDialog(id);
    const JunctraDialog* english = ResourceModule::BuiltIn().FindDialog(id);
    ASSERT_NE(german, nullptr);
    ASSERT_EQ(german->control_count, english->control_count);
    EXPECT_EQ(german->width, english->width);
    EXPECT_EQ(german->height, english->height);
    EXPECT_EQ(german->style, english->style);
    for (std::size_t i = 0; i < german->control_count; ++i) {
      const JunctraControl& g = german->controls[i];
      const JunctraControl& e = english->controls[i];
      EXPECT_EQ(g.id, e.id);
      EXPECT_EQ(g.kind, e.kind);
      EXPECT_EQ(g.style, e.style);
      EXPECT_EQ(std::tie(g.x, g.y, g.width, g.height), std::tie(e.x, e.y, e.width, e.height));
    }
  }
  const JunctraDialog* main_dialog = CurrentResourceModule().FindDialog(IDD_JUNCTRA_DIALOG);
  EXPECT_EQ(Utf8ToUtf16(main_dialog->controls[4].text), u"&Beenden");
  EXPECT_EQ(Utf8ToUtf16(main_dialog->controls[6].text), u"&Vereinen...");
  EXPECT_EQ(Utf8ToUtf16(CurrentResourceModule().FindDialog(IDD_ERROR_DIALOG)->caption),
            u"Fehlerliste");
  EXPECT_NE(CurrentResourceModule().FindIcon(IDR_MAINFRAME), nullptr);
#endif

  ReleaseSatelliteResources(&handle);
  EXPECT_EQ(env_.libraries_alive, 0);
  EXPECT_EQ(&CurrentResourceModule(), &ResourceModule::BuiltIn());
  EXPECT_EQ(LoadResourceString(IDS_TAG_CONFLICT), u"Tag '%s' has different definitions");
}

TEST_F(GermanSatelliteTest, UserLocaleSelectsGermanFromRegionalName) {
#ifdef _WIN32
  GTEST_SKIP() << "the user locale comes from LANG here; Windows has no locale variables";
#endif
  env_.variables["LANG"] = "de_CH.UTF-8";
  std::u16string culture = ReadCultureName(dir_.path() / "missing.ini", 255, &env_);
  EXPECT_EQ(culture, u"de-CH");
  ModuleHandle handle;
  LoadSatelliteResources(culture, &handle, &env_);
  ASSERT_TRUE(handle.is_satellite());
  EXPECT_EQ(handle.module()->LoadString(IDS_ERROR_SAVING_TAGS),
            u"Fehler beim Speichern der Datenbankdatei");
}

// The built German satellite copied beside a program in a temp folder.
class SatelliteCopyTest : public ::testing::Test {
 protected:
  SatelliteCopyTest() {
    program_ = dir_.path().generic_string() + "/program/";
    std::filesystem::create_directories(program_ + "de");
    env_.module_file = program_ + kProgramFileName;
    env_.load_real_libraries = true;
  }
  ~SatelliteCopyTest() override { SetCurrentResourceModule(nullptr); }

  void Install(const std::filesystem::path& from, const std::string& name) {
    std::filesystem::copy_file(from, program_ + "de/" + name,
                               std::filesystem::copy_options::skip_existing);
  }
  void Load() { LoadSatelliteResources(u"de-DE", &handle_, &env_); }

  TempDir dir_;
  std::string program_;
  AppFakeEnv env_;
  ModuleHandle handle_;
};

TEST_F(SatelliteCopyTest, CopyGivesGermanTextsAlsoToTheConsoleProgram) {
  const std::filesystem::path built = BuiltProgramFolder() / kGermanSatellite;
  Install(built, built.filename().string());
  Load();
  ASSERT_TRUE(handle_.is_satellite());
  EXPECT_EQ(handle_.module()->LoadString(IDS_SELECT_OUTPUT),
            u"Wählen Sie den neuen Datenbankordner aus:");
  // Strings from 113 on come from the satellite too when it has them.
  EXPECT_EQ(handle_.module()->LoadString(IDS_OUTPUT_FOLDER_BUSY),
            u"Der Ordner %1 wird von einem anderen Programm verwendet");

  // junctra.com looks for junctra.exe's satellite.
  env_.module_file = program_ + "junctra.com";
  Install(built, "junctra-EXE" + kMui);
  Load();
  ASSERT_TRUE(handle_.is_satellite());
  EXPECT_EQ(env_.load_requests.back(), program_ + "de/junctra-EXE" + kMui);
  ReleaseSatelliteResources(&handle_);
  EXPECT_EQ(env_.libraries_alive, 0);
}

TEST_F(SatelliteCopyTest, FileThatIsNoLibraryGivesBuiltIn) {
  WriteFile(program_ + kGermanSatellite, "MZ but nothing else");
  Load();
  EXPECT_TRUE(handle_.is_own_module());
  EXPECT_EQ(env_.load_requests.size(), 1u);
  EXPECT_EQ(handle_.module()->LoadString(IDS_SELECT_OUTPUT), u"Select new database folder:");
}

}  // namespace
}  // namespace junctra
