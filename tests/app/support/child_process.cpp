#include "tests/app/support/child_process.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <optional>

#include "app/lib/start_with_windows.h"
#include "app/win/failure.h"

namespace glimmerly::testing_support {
namespace {

std::map<std::wstring, ChildMain>& registry() {
    static std::map<std::wstring, ChildMain> children;
    return children;
}

std::wstring quote(const std::wstring& arg) {
    std::wstring out = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

std::wstring_view variable_name(std::wstring_view entry) { return entry.substr(0, entry.find(L'=', 1)); }

// This process's environment with the entries replaced or added, as a block
// for CreateProcessW.
std::wstring environment_block(const std::vector<std::wstring>& entries) {
    std::wstring block;
    if (wchar_t* own = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = own; *entry; entry += std::wcslen(entry) + 1) {
            const std::wstring_view name = variable_name(entry);
            const bool replaced = std::any_of(entries.begin(), entries.end(), [&](const std::wstring& e) {
                return CompareStringOrdinal(e.data(), static_cast<int>(variable_name(e).size()), name.data(),
                                            static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
            });
            if (!replaced) block.append(entry).push_back(L'\0');
        }
        FreeEnvironmentStringsW(own);
    }
    for (const std::wstring& entry : entries) block.append(entry).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

}  // namespace

ChildRegistration::ChildRegistration(const wchar_t* name, ChildMain main) { registry()[name] = main; }

Result<win::UniqueHandle> start_child(const std::wstring& name, const std::vector<std::wstring>& args,
                                      const std::vector<std::wstring>& environment) {
    std::wstring command = quote(running_program_path().value_or(L"")) + L" --child=" + name;
    for (const auto& arg : args) command += L" " + quote(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring block = environment.empty() ? std::wstring() : environment_block(environment);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        block.empty() ? nullptr : block.data(), nullptr, &startup, &info))
        return win::win32_failure("CreateProcessW", command);
    CloseHandle(info.hThread);
    return win::UniqueHandle(info.hProcess);
}

int wait_for_exit(const win::UniqueHandle& process, unsigned timeout_ms) {
    if (WaitForSingleObject(process.get(), timeout_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

bool run_child_if_asked(int& exit_code) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return false;
    bool is_child = false;
    if (argc >= 2 && std::wstring_view(argv[1]).starts_with(L"--child=")) {
        is_child = true;
        const std::wstring name(argv[1] + 8);
        std::vector<std::wstring> args(argv + 2, argv + argc);
        const auto found = registry().find(name);
        exit_code = found == registry().end() ? 97 : found->second(args);
    } else if (argc >= 2 && std::wstring_view(argv[1]).starts_with(L"--") &&
               !std::wstring_view(argv[1]).starts_with(L"--gtest")) {
        // A starter under test took this executable for the program and gave
        // it a role ("--board", "--prepared-editor", ...): running the whole
        // suite again from there would multiply the tests, so the child ends.
        is_child = true;
        exit_code = 96;
    }
    LocalFree(argv);
    return is_child;
}

namespace {

// When the process started, or none when it cannot be asked.
std::optional<ULONGLONG> start_time(DWORD id) {
    win::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!process || !GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) return std::nullopt;
    return static_cast<ULONGLONG>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

}  // namespace

std::vector<DWORD> child_process_ids(DWORD parent) {
    // Wine hands freed process ids out again: a process that names `parent`
    // but began before it is the child of an earlier process with that id
    // (one of Wine's own, say, whose parent ended long ago).
    const std::optional<ULONGLONG> parent_start = start_time(parent);
    std::vector<DWORD> children;
    win::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{.dwSize = sizeof(PROCESSENTRY32W)};
    for (bool more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID != parent) continue;
        const std::optional<ULONGLONG> child_start = start_time(entry.th32ProcessID);
        if (parent_start && child_start && *child_start < *parent_start) continue;
        children.push_back(entry.th32ProcessID);
    }
    return children;
}

std::vector<std::wstring> module_names(DWORD process) {
    std::vector<std::wstring> names;
    win::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process));
    MODULEENTRY32W entry{.dwSize = sizeof(MODULEENTRY32W)};
    for (bool more = snapshot && Module32FirstW(snapshot.get(), &entry); more;
         more = Module32NextW(snapshot.get(), &entry)) {
        std::wstring name = entry.szModule;
        for (wchar_t& c : name) c = static_cast<wchar_t>(towlower(c));
        names.push_back(std::move(name));
    }
    return names;
}

std::wstring unique_name(const std::wstring& stem) {
    return stem + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(GetTickCount64());
}

}  // namespace glimmerly::testing_support
