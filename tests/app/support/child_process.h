#pragma once
// Second processes for tests that need one (a mutex held elsewhere, a process
// that dies while holding it): the test executable starts itself with
// "--child=NAME" and runs the registered function instead of the tests.

#include <string>
#include <vector>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly::testing_support {

using ChildMain = int (*)(const std::vector<std::wstring>& args);

struct ChildRegistration {
    ChildRegistration(const wchar_t* name, ChildMain main);
};

#define GLIM_TEST_CHILD(name)                                                             \
    static int name##_child_main(const std::vector<std::wstring>& args);                 \
    static const ::glimmerly::testing_support::ChildRegistration name##_registration{    \
        L## #name, &name##_child_main};                                                   \
    static int name##_child_main([[maybe_unused]] const std::vector<std::wstring>& args)

// Starts this executable as the named child; the handle is the process's.
// `environment` holds NAME=value entries that replace or join this
// process's own.
Result<win::UniqueHandle> start_child(const std::wstring& name, const std::vector<std::wstring>& args = {},
                                      const std::vector<std::wstring>& environment = {});

// Wine's heap fills each freed block (with 0xFEEE) in a child given this
// entry: a read of freed memory fails there and then instead of finding what
// was left in it.
inline const std::wstring kCheckFreedMemory = L"WINEDEBUG=-all,warn+heap";

// Waits for the child and gives its exit code (or -1 when the wait timed out).
int wait_for_exit(const win::UniqueHandle& process, unsigned timeout_ms = 30000);

// Runs the child named on the command line, when there is one. Returns true
// and sets the exit code when this process is a child.
bool run_child_if_asked(int& exit_code);

// The running processes that `parent` started, in no order.
std::vector<DWORD> child_process_ids(DWORD parent);

// The file names (lower case) of the modules loaded in the process; empty
// when it cannot be read.
std::vector<std::wstring> module_names(DWORD process);

// A name unique to this test process, for mutexes and events.
std::wstring unique_name(const std::wstring& stem);

}  // namespace glimmerly::testing_support
