#pragma once
// Where the tests find the program: they are built in build/win/tests, the
// program in build/win.

#include <windows.h>

#include <string>

#include "app/win/paths.h"

namespace glimmerly::testing_support {

inline std::wstring program_path() {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    return win::join_path(win::folder_of(win::folder_of(own)), L"glimmerly.exe");
}

inline std::wstring quoted_program_path() { return L"\"" + program_path() + L"\""; }

}  // namespace glimmerly::testing_support
