#pragma once
// A fresh folder under the temporary folder, removed with its files.

#include <string>

namespace glimmerly::testing_support {

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace glimmerly::testing_support
