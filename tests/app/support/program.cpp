#include "tests/app/support/program.h"

#include "app/win/failure.h"
#include "app/win/paths.h"

namespace glimmerly::testing_support {
namespace {

// The tests are built in build/win/tests, the program in build/win.
std::wstring program_path() {
    std::wstring own(32768, L'\0');
    own.resize(GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size())));
    return win::join_path(win::folder_of(win::folder_of(own)), L"glimmerly.exe");
}

std::wstring quoted(const std::wstring& arg) { return L"\"" + arg + L"\""; }

}  // namespace

Result<ProgramRun> start_program(const std::vector<std::wstring>& args, bool read_standard_error) {
    std::wstring command = quoted(program_path());
    for (const auto& arg : args) command += L" " + quoted(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ProgramRun run;
    win::UniqueHandle write_end;
    if (read_standard_error) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(run.standard_error.put(), write_end.put(), &inherit, 0)) return win::win32_failure("CreatePipe");
        SetHandleInformation(run.standard_error.get(), HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = write_end.get();
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, read_standard_error, 0, nullptr, nullptr, &startup,
                        &info))
        return win::win32_failure("CreateProcessW", win::to_utf8(command));
    CloseHandle(info.hThread);
    run.process.reset(info.hProcess);
    run.process_id = info.dwProcessId;
    return run;
}

HWND wait_for_app_window(const ProgramRun& run, unsigned timeout_ms) {
    if (WaitForInputIdle(run.process.get(), timeout_ms) != 0) return nullptr;
    struct Search {
        DWORD process_id;
        HWND found;
    } search{run.process_id, nullptr};
    EnumWindows(
        [](HWND window, LPARAM out) noexcept -> BOOL {
            auto* search = reinterpret_cast<Search*>(out);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (process != search->process_id || std::wstring_view(name) != L"Glimmerly.Window") return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string read_standard_error(const ProgramRun& run) {
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(run.standard_error.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

void end_program(const ProgramRun& run) {
    if (run.process && WaitForSingleObject(run.process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(run.process.get(), 99);
        WaitForSingleObject(run.process.get(), 5000);
    }
}

}  // namespace glimmerly::testing_support
