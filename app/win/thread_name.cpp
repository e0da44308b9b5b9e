#include "app/win/thread_name.h"

#include <windows.h>

namespace glimmerly::win {

void name_this_thread(const wchar_t* name) noexcept {
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return;
    const auto set = reinterpret_cast<SetDescription>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")));
    if (set) set(GetCurrentThread(), name);
}

}  // namespace glimmerly::win
