#include <gtest/gtest.h>

#include "tests/app/support/child_process.h"

int main(int argc, char** argv) {
    int exit_code = 0;
    if (glimmerly::testing_support::run_child_if_asked(exit_code)) return exit_code;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
