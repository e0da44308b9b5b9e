#include "app/diagnostics/report_file.h"

#include <windows.h>

#include "app/win/failure.h"
#include "app/win/owners.h"

namespace glimmerly {

Status write_report_file(const std::wstring& path, std::string text) {
    const std::string owned = std::move(text);
    win::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return win::self_check_failure("CreateFileW", path);
    DWORD written = 0;
    if (!WriteFile(file.get(), owned.data(), static_cast<DWORD>(owned.size()), &written, nullptr))
        return win::self_check_failure("WriteFile", path);
    if (written != owned.size()) return win::win32_failure_code(ERROR_WRITE_FAULT, "WriteFile", path);
    return ok_status();
}

}  // namespace glimmerly
