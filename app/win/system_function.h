#pragma once
// System functions looked up by name, never imported: a system whose DLL
// lacks one (Wine's user32, d3d11 and dcomp; older Windows) must still load
// the program, and then answers null.

#include <windows.h>

namespace glimmerly::win {

// The module is loaded once and stays for the process.
FARPROC system_function(const wchar_t* module, const char* name);

template <class Function>
Function system_function_as(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(system_function(module, name)));
}

}  // namespace glimmerly::win
