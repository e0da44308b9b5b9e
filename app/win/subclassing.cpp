#include "app/win/subclassing.h"

#include "app/win/failure.h"
#include "app/win/owners.h"

namespace glimmerly::win {
namespace {

template <class Function>
Status find_call(HMODULE library, const char* name, Function& call) {
    const FARPROC found = GetProcAddress(library, name);
    if (!found) return win32_failure("GetProcAddress", to_wide(name));
    call = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
    return ok_status();
}

}  // namespace

Result<SubclassCalls> load_subclass_calls() {
    // The manifest's dependency makes this the version 6 library, the one
    // that exports these calls by name.
    constexpr wchar_t kLibrary[] = L"comctl32.dll";
    const UniqueModule library(LoadLibraryW(kLibrary));
    if (!library) return win32_failure("LoadLibraryW", kLibrary);
    // Pinned: a control subclassed through it may outlive every holder of
    // these calls, and unloading would unregister the library's classes.
    HMODULE pinned = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(library.get()), &pinned))
        return win32_failure("GetModuleHandleExW", kLibrary);
    SubclassCalls calls;
    GLIM_TRY(find_call(library.get(), "SetWindowSubclass", calls.set));
    GLIM_TRY(find_call(library.get(), "RemoveWindowSubclass", calls.remove));
    GLIM_TRY(find_call(library.get(), "DefSubclassProc", calls.call_next));
    return calls;
}

}  // namespace glimmerly::win
