#pragma once
// A fresh folder under the temporary folder, removed with its files.

#include <atomic>
#include <string>

#include "app/lib/folder_tree.h"
#include "app/win/owners.h"

namespace glimmerly::testing_support {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> made{0};  // tells apart the folders of one process
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::wstring(temp) + L"glimmerly-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(made++) + L"-" + std::to_wstring(GetTickCount64());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { (void)remove_tree(path_); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace glimmerly::testing_support
