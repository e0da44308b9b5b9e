#include <gtest/gtest.h>

#include "app/win/key_names.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/process_sweep.h"
#include "text/shortcut_text.h"

int main(int argc, char** argv) {
    // Shortcut texts name keys through the keyboard layout, as the program does.
    glimmerly::set_layout_key_name_source(&glimmerly::win::layout_key_name);
    int exit_code = 0;
    if (glimmerly::testing_support::run_child_if_asked(exit_code)) return exit_code;
    testing::InitGoogleTest(&argc, argv);
    glimmerly::testing_support::sweep_processes_after_each_test();
    return RUN_ALL_TESTS();
}
