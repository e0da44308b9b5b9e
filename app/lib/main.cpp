// The one executable of every role: run_app does the work; a failure is told
// on standard error in the modes that scripts start, in a message box
// otherwise, and the process ends with exit code 1.

#include <windows.h>

#include <cstdio>

#include "app/lib/run_app.h"
#include "app/win/failure.h"

namespace {

void write_standard_error(const std::string& text) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int main() {
    using namespace glimmerly;
    Status result = run_app();
    if (result) return 0;
    const Failure& failure = result.failure();
    auto args = command_line_arguments();
    if (args && reports_to_standard_error(*args))
        write_standard_error(format_error_text(failure) + "\n");
    else
        MessageBoxW(nullptr, win::to_wide(startup_error_text(failure)).c_str(), L"Glimmerly", MB_ICONERROR);
    std::fflush(stdout);
    return 1;
}
