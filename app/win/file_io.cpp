#include "app/win/file_io.h"

#include <windows.h>

#include "app/win/failure.h"
#include "app/win/owners.h"

namespace glimmerly::win {

static_assert(FILE_TOO_LARGE_CODE == hresult_from_win32(ERROR_FILE_TOO_LARGE));

Result<std::optional<std::string>> read_file_if_exists(const std::wstring& path, std::uint64_t max_bytes) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::optional<std::string>{};
        return win32_failure_code(error, "CreateFileW", path);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return win32_failure("GetFileSizeEx", path);
    if (static_cast<std::uint64_t>(size.QuadPart) > max_bytes)
        return Failure{FILE_TOO_LARGE_CODE, "File too large: " + to_utf8(path)};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr))
            return win32_failure("ReadFile", path);
        if (read == 0) break;  // the file shrank while we read it
        done += read;
    }
    bytes.resize(done);
    return std::optional<std::string>(std::move(bytes));
}

}  // namespace glimmerly::win
