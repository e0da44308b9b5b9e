#include "app/lib/atomic_write.h"

#include <windows.h>

#include <algorithm>

#include "app/lib/folder_tree.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/paths/path_names.h"

namespace glimmerly {
namespace {

// Keeps the failure's text and reports it as a plain I/O failure.
Failure io_failure(Failure failure) { return Failure{E_FAIL_CODE, std::move(failure.message)}; }

// Writes the bytes to `path` (created or truncated) and flushes them to disk.
Status write_whole_file(const std::wstring& path, std::string_view bytes) {
    win::UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return win::win32_failure("CreateFileW", win::to_utf8(path));
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0)
            return win::win32_failure("WriteFile", win::to_utf8(path));
        bytes.remove_prefix(written);
    }
    // The move that follows is durable only if the bytes reached the disk
    // first; otherwise a power cut could leave the new name with no content.
    if (!FlushFileBuffers(file.get())) return win::win32_failure("FlushFileBuffers", win::to_utf8(path));
    return ok_status();
}

}  // namespace

std::wstring temporary_path_for(const std::wstring& target) {
    return win::from_u16(temporary_path(win::to_u16(target), GetCurrentProcessId()));
}

Result<std::wstring> replace_file_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing) {
    const std::wstring temporary = temporary_path_for(target);
    if (auto written = write_whole_file(temporary, bytes); !written) {
        DeleteFileW(temporary.c_str());
        return std::move(written).failure();
    }

    const DWORD flags = MOVEFILE_WRITE_THROUGH | (keep_existing ? 0 : MOVEFILE_REPLACE_EXISTING);
    const std::u16string target16 = win::to_u16(target);
    const auto extension = extension_of(target16);
    std::wstring destination = target;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), destination.c_str(), flags)) return destination;
        const DWORD error = GetLastError();
        Failure failure = win::win32_failure_code(error, "MoveFileExW", win::to_utf8(destination));
        const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        if (!keep_existing || !taken || attempt == MAX_NUMBERED_ATTEMPTS) {
            DeleteFileW(temporary.c_str());
            return failure;
        }
        auto next = next_free_file_name(win::folder_of(target), ImageFormat::Png);
        if (!next) {
            DeleteFileW(temporary.c_str());
            return std::move(next).failure();
        }
        destination = extension ? win::from_u16(with_extension(win::to_u16(*next), *extension)) : *next;
    }
}

Result<std::wstring> write_file_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing) {
    auto written = replace_file_atomically(bytes, target, keep_existing);
    if (!written) return io_failure(std::move(written).failure());
    return written;
}

}  // namespace glimmerly
