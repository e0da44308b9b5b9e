#include "app/win/system_function.h"

namespace glimmerly::win {

FARPROC system_function(const wchar_t* module, const char* name) {
    // A module already in the process is taken as it is; another is loaded
    // for good, so that what was found stays valid.
    HMODULE loaded = GetModuleHandleW(module);
    if (!loaded) loaded = LoadLibraryW(module);
    return loaded ? GetProcAddress(loaded, name) : nullptr;
}

}  // namespace glimmerly::win
