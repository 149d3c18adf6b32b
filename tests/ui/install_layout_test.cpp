// The installed layout: cmake --install into a temporary prefix, then the
// program run through its bin/ link as a user would run it.
#include <gtest/gtest.h>
#include <locale.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "tests/database_files.h"
#include "tests/run_program.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

void WriteTagList(const std::filesystem::path& folder, const std::u16string& tag_name) {
  std::filesystem::create_directories(folder);
  WriteDatabaseFile(folder / "tagl.txt", TagFile(TagBlock(tag_name, u"1|2|x")));
}

class InstallLayoutTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_dir_ = std::make_unique<TempDir>();
    const std::string command = std::string("\"") + JUNCTRA_CMAKE_COMMAND + "\" --install \"" +
                                JUNCTRA_BINARY_DIR + "\" --prefix \"" +
                                prefix_dir_->path().string() + "\" >/dev/null";
    install_status_ = std::system(command.c_str());
  }
  static void TearDownTestSuite() { prefix_dir_.reset(); }

  void SetUp() override { ASSERT_EQ(install_status_, 0) << "cmake --install failed"; }

  std::filesystem::path prefix() const { return prefix_dir_->path(); }
  std::filesystem::path link() const { return prefix() / "bin" / "junctra"; }

  // The installed program through its link, with no settings file and no
  // display, in the given locale.
  RunResult RunInstalled(const std::vector<std::string>& args, const std::string& locale) {
    const std::filesystem::path home = work_.path() / "home";
    std::filesystem::create_directories(home);
    std::vector<std::string> command = {link().string()};
    command.insert(command.end(), args.begin(), args.end());
    return RunCommand(command,
                      {{"HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / ".config").string(),
                        "LC_ALL=" + locale, "-LC_MESSAGES", "-LANG", "-DISPLAY", "-WAYLAND_DISPLAY",
                        "-QT_QPA_PLATFORM"}});
  }

  static std::unique_ptr<TempDir> prefix_dir_;
  static int install_status_;
  TempDir work_;
};

std::unique_ptr<TempDir> InstallLayoutTest::prefix_dir_;
int InstallLayoutTest::install_status_ = -1;

TEST_F(InstallLayoutTest, ProgramLinkDesktopEntryAndIconAreWhereDesktopsLook) {
  const std::filesystem::path program = prefix() / "lib" / "junctra" / "junctra";
  EXPECT_EQ(access(program.c_str(), X_OK), 0);
  EXPECT_TRUE(std::filesystem::exists(prefix() / "lib" / "junctra" / "Program Settings.ini"));

  ASSERT_TRUE(std::filesystem::is_symlink(link()));
  EXPECT_EQ(std::filesystem::read_symlink(link()), "../lib/junctra/junctra");
  EXPECT_TRUE(std::filesystem::equivalent(link(), program));

  const std::string desktop = ReadBytes(prefix() / "share" / "applications" / "junctra.desktop");
  EXPECT_NE(desktop.find("[Desktop Entry]\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nExec=junctra\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nIcon=junctra\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nKeywords=merge;"), std::string::npos);

  // Every size, each a PNG of its own width and height.
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const std::string png =
        ReadBytes(prefix() / "share" / "icons" / "hicolor" / folder / "apps" / "junctra.png");
    ASSERT_GE(png.size(), 24u) << folder;
    const std::string side{0, 0, static_cast<char>(size >> 8), static_cast<char>(size & 0xFF)};
    EXPECT_EQ(png.substr(0, 8) + png.substr(16, 8), "\x89PNG\r\n\x1a\n" + side + side) << folder;
  }
  EXPECT_TRUE(std::filesystem::exists(prefix() / "share" / "icons" / "hicolor" / "scalable" /
                                      "apps" / "junctra.svg"));
}

TEST_F(InstallLayoutTest, BatchMergeRunsThroughTheLink) {
  const std::filesystem::path first = work_.path() / "first";
  const std::filesystem::path second = work_.path() / "second";
  WriteTagList(first, u"Alpha");
  WriteTagList(second, u"Beta");

  const RunResult merged = RunInstalled({first.string(), second.string()}, "C");
  EXPECT_EQ(merged.exit_code, 0) << merged.err;
  const std::string written = ReadBytes(second / "tagl.txt");
  // UTF-16LE: both names are in the merged file.
  auto contains = [&written](const std::string& ascii) {
    std::string wide;
    for (char c : ascii) wide += std::string{c, '\0'};
    return written.find(wide) != std::string::npos;
  };
  EXPECT_TRUE(contains("|Alpha|"));
  EXPECT_TRUE(contains("|Beta|"));

  const RunResult failed = RunInstalled({(work_.path() / "none").string(), second.string()}, "C");
  EXPECT_EQ(failed.exit_code, 1);
}

TEST_F(InstallLayoutTest, InteractiveUseWithoutDisplayEndsWithOneLineAndExitCode1) {
  const RunResult result = RunInstalled({}, "C");
  EXPECT_EQ(result.exit_code, 1);
  ASSERT_FALSE(result.err.empty());
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
}

// The satellite's texts, and the system's reason in the C library's German.
TEST_F(InstallLayoutTest, GermanSatelliteIsFoundThroughTheLink) {
  const std::filesystem::path satellite = prefix() / "lib" / "junctra" / "de" / "junctra-mui.so";
  ASSERT_TRUE(std::filesystem::exists(satellite)) << "no German satellite is installed";
  // The expected text comes from the installed satellite itself.
  std::unique_ptr<Library> library = Env::Default()->LoadLibrary(satellite);
  ASSERT_NE(library, nullptr);
  auto entry =
      reinterpret_cast<JunctraResourceTableFunction>(library->Symbol(JUNCTRA_RESOURCE_ENTRY_POINT));
  ASSERT_NE(entry, nullptr);
  const ResourceModule module(entry());
  const std::string german = Utf16ToUtf8(module.LoadString(IDS_FIRST_NO_DATABASE));
  const std::string english =
      Utf16ToUtf8(ResourceModule::BuiltIn().LoadString(IDS_FIRST_NO_DATABASE));
  ASSERT_FALSE(german.empty());
  ASSERT_NE(german, english);

  const std::filesystem::path second = work_.path() / "second";
  WriteTagList(second, u"Beta");
  const std::vector<std::string> args = {(work_.path() / "none").string(), second.string()};

  const RunResult in_german = RunInstalled(args, "de_DE.UTF-8");
  EXPECT_EQ(in_german.exit_code, 1);
  EXPECT_NE(in_german.err.find(german), std::string::npos) << in_german.err;
  const locale_t de = newlocale(LC_MESSAGES_MASK, "de_DE.UTF-8", nullptr);
  EXPECT_NE(de, nullptr) << "no de_DE.UTF-8 locale: scripts/deps.sh test makes it";
  if (de != nullptr) freelocale(de);
  EXPECT_NE(in_german.err.find("/tagl.txt: Datei oder Verzeichnis nicht gefunden\n"),
            std::string::npos)
      << in_german.err;

  const RunResult in_english = RunInstalled(args, "C");
  EXPECT_EQ(in_english.exit_code, 1);
  EXPECT_NE(in_english.err.find(english), std::string::npos) << in_english.err;
  EXPECT_NE(in_english.err.find("/tagl.txt: No such file or directory\n"), std::string::npos)
      << in_english.err;

  // Without a display the dialog cannot open; that is said in German too.
  const std::u16string no_display = FormatMessage(
      module.LoadString(IDS_NO_DISPLAY),
      {u"junctra", FormatMessage(module.LoadString(IDS_VARIABLE_NOT_SET), u"DISPLAY")});
  EXPECT_EQ(RunInstalled({}, "de_DE.UTF-8").err, Utf16ToUtf8(no_display) + "\n");
}

}  // namespace
}  // namespace junctra
