// The one QApplication of a dialog test program, for all its tests.
#include "tests/ui/ui_test_support.h"

namespace junctra {
namespace {

[[maybe_unused]] testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
}  // namespace junctra
