// Windows: a satellite is loaded as data, so no code of whatever DLL sits
// under the satellite's name ever runs.
#include <gtest/gtest.h>

#include "app/language.h"
#include "tests/app/app_fake_env.h"
#include "tests/temp_dir.h"

#include <windows.h>

namespace junctra {
namespace {

bool CodeRan() { return ::GetEnvironmentVariableW(L"JUNCTRA_DLL_CODE_RAN", nullptr, 0) > 0; }

TEST(SatelliteCodeTest, DllWithCodeAndNoResourcesRunsNothingAndGivesBuiltIn) {
  TempDir dir;
  const std::filesystem::path program = dir.path() / "program";
  std::filesystem::create_directories(program / "de");
  std::filesystem::copy_file(JUNCTRA_TEST_CODE_DLL, program / "de" / "junctra-EXE-mui.dll");

  AppFakeEnv env;
  env.module_file = program / "junctra.exe";
  env.load_real_libraries = true;
  ModuleHandle handle;
  LoadSatelliteResources(u"de-DE", &handle, &env);
  EXPECT_TRUE(handle.is_own_module());
  EXPECT_EQ(env.load_requests.size(), 1u);
  EXPECT_EQ(env.libraries_alive, 0);
  EXPECT_FALSE(CodeRan());

  // Loaded as code, the same DLL does run: the check above can fail.
  HMODULE code = ::LoadLibraryW((program / "de" / "junctra-EXE-mui.dll").c_str());
  ASSERT_NE(code, nullptr);
  EXPECT_TRUE(CodeRan());
  ::FreeLibrary(code);
  ::SetEnvironmentVariableW(L"JUNCTRA_DLL_CODE_RAN", nullptr);
}

}  // namespace
}  // namespace junctra
