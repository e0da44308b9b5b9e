#include "tests/app/support/private_prefix.h"

#include <gtest/gtest.h>

namespace glimmerly::testing_support {
namespace {

// Without this, a prefix that lost its Wine key would skip every test of
// user data in silence.
TEST(PrivateTestPrefix, GuardHoldsWhereScriptsWineExecStartedTheTests) {
    if (private_prefix_variable().empty()) GTEST_SKIP() << "not started through scripts/wine-exec";
    EXPECT_TRUE(in_private_test_prefix())
        << "GLIMMERLY_PRIVATE_WINE_PREFIX is set but HKLM\\Software\\Wine is missing: the user-data tests would skip";
}

}  // namespace
}  // namespace glimmerly::testing_support
