#pragma once
// Runs the real program (glimmerly.exe, built beside the tests) as another
// process, and finds its application window.

#include <windows.h>

#include <string>
#include <vector>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly::testing_support {

struct ProgramRun {
    win::UniqueHandle process;
    DWORD process_id = 0;
    // The read end of its standard error, when asked for.
    win::UniqueHandle standard_error;
};

Result<ProgramRun> start_program(const std::vector<std::wstring>& args, bool read_standard_error = false);

// Waits until the program runs its message loop and gives its application
// window (class "Glimmerly.Window"); null when it did not come in time.
HWND wait_for_app_window(const ProgramRun& run, unsigned timeout_ms = 30000);

// Everything written to standard error, once the program has ended.
std::string read_standard_error(const ProgramRun& run);

// Ends a program that a failed test left running.
void end_program(const ProgramRun& run);

}  // namespace glimmerly::testing_support
