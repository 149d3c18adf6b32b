#include "resources/tools/rc_writer.h"

#include <gtest/gtest.h>

namespace junctra {
namespace {

TEST(RcWriterTest, QuotesBackslashesAndLineFeedsAreEscaped) {
  EXPECT_EQ(RcString(R"(Say "hi" to C:\data)"), R"("Say ""hi"" to C:\\data")");
  EXPECT_EQ(RcString("„ü“"), "\"„ü“\"");
  EXPECT_EQ(RcString(""), "\"\"");
  EXPECT_EQ(RcString("one\ntwo"), R"("one\ntwo")");
}

// What the tables do not show: a hidden control, a library's version
// information, a regional language.
TEST(RcWriterTest, ScriptCarriesStylesLanguageAndFileType) {
  constexpr JunctraControl kControls[] = {
      {7, JUNCTRA_CONTROL_EDIT, "\"x\"", 1, 2, 3, 4, JUNCTRA_WS_BORDER, 0},
  };
  const JunctraDialog dialog = {9, "A",       10, 20, JUNCTRA_WS_POPUP, 0, "MS Sans Serif",
                                8, kControls, 1};
  const JunctraResourceTable table = {
      JUNCTRA_RESOURCE_FORMAT_VERSION, nullptr, 0, &dialog, 1, nullptr, 0};
  RcFileInfo info;
  info.language = 0x0C07;
  info.version = "2.3";
  info.original_filename = "x-EXE-mui.DLL";
  const std::string rc = WriteRc(table, info).value();
  EXPECT_NE(rc.find("#pragma code_page(65001)\n"), std::string::npos);
  EXPECT_NE(rc.find("LANGUAGE 0x07, 0x03\n"), std::string::npos);
  EXPECT_NE(rc.find("CONTROL \"\"\"x\"\"\", 7, 129 /* Edit */, 0x40800000 | NOT 0x10000000, "
                    "1, 2, 3, 4\n"),
            std::string::npos)
      << rc;
  EXPECT_NE(rc.find("FILEVERSION 2,3,0,0\n"), std::string::npos);
  EXPECT_NE(rc.find("FILETYPE 2\n"), std::string::npos);
  EXPECT_NE(rc.find("BLOCK \"0C0704B0\"\n"), std::string::npos);
  EXPECT_NE(rc.find("VALUE \"Translation\", 0x0C07, 1200\n"), std::string::npos);

  // A control of a kind Windows has no class for gives no script at all.
  constexpr JunctraControl kUnknown[] = {{7, 99, "", 1, 2, 3, 4, 0, 0}};
  const JunctraDialog unknown = {9, "A", 10, 20, 0, 0, "MS Sans Serif", 8, kUnknown, 1};
  const JunctraResourceTable broken = {
      JUNCTRA_RESOURCE_FORMAT_VERSION, nullptr, 0, &unknown, 1, nullptr, 0};
  EXPECT_FALSE(WriteRc(broken, info).has_value());
}

}  // namespace
}  // namespace junctra
