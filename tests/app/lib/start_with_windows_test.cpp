#include "app/lib/start_with_windows.h"

#include <gtest/gtest.h>

#include "app/lib/registry_names.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// The value quotes the path, so that spaces in it stay in one argument.
TEST(StartWithWindows, WritesAndRemovesTheRunValueOfTheRunningProgram) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    UserDataLock lock;
    auto program = running_program_path();
    ASSERT_TRUE(program.ok()) << program.failure().message;
    EXPECT_TRUE(program->ends_with(L"windows_tests.exe"));

    ASSERT_TRUE(set_start_with_windows(true).ok());
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, L"Glimmerly"), L"\"" + *program + L"\"");
    ASSERT_TRUE(set_start_with_windows(false).ok());
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, L"Glimmerly"), std::nullopt);
    // Nothing to delete is done too.
    EXPECT_TRUE(set_start_with_windows(false).ok());
}

}  // namespace
}  // namespace glimmerly
