// Entry point of every test program. The build tree's folders reach the
// tests as environment variables, set here because test properties cannot
// carry more than one variable through test discovery.
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef _WIN32
// The C runtime has no setenv; this one never overwrites, as used here.
static int setenv(const char* name, const char* value, int) {
  return std::getenv(name) != nullptr ? 0 : _putenv_s(name, value);
}
#endif

int main(int argc, char** argv) {
  setenv("JUNCTRA_PROGRAM_DIR", JUNCTRA_TEST_PROGRAM_DIR, 0);
  setenv("JUNCTRA_SOURCE_DIR", JUNCTRA_TEST_SOURCE_DIR, 0);
  // Dialog tests never need a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
