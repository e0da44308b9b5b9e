#include "tests/app/support/temp_folder.h"

#include <windows.h>

#include <atomic>

#include "app/lib/folder_tree.h"

namespace glimmerly::testing_support {
namespace {

std::atomic<unsigned> g_counter{0};

}  // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"glimmerly-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(g_counter++) + L"-" + std::to_wstring(GetTickCount64());
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { (void)remove_tree(path_); }

}  // namespace glimmerly::testing_support
