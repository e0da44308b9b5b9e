#include "app/lib/atomic_write.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>

#include "app/lib/folder_tree.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/paths/path_names.h"

namespace glimmerly {
namespace {

// How long a plain replace waits for a target that another process holds
// open: the program's other processes read the settings and the board's
// files while this one writes them, and a reader lets go within moments.
constexpr DWORD kHeldTargetWaitMs = 2000;

// Numbers this process's saves; see temporary_path_for.
std::atomic<std::uint64_t> g_save_number{0};

// The call that failed on the temporary file, with its error.
struct WriteFault {
    const char* call;
    DWORD error;
};

// Writes the bytes to `path` (created or truncated) and flushes them to disk.
std::optional<WriteFault> write_whole_file(const std::wstring& path, std::string_view bytes, FileWriteCall write) {
    win::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return WriteFault{"CreateFileW", GetLastError()};
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!write(file.get(), bytes.data(), chunk, &written, nullptr)) return WriteFault{"WriteFile", GetLastError()};
        // A write that succeeds with nothing written sets no last error.
        if (written == 0) return WriteFault{"WriteFile", ERROR_WRITE_FAULT};
        bytes.remove_prefix(written);
    }
    // The move that follows is durable only if the bytes reached the disk
    // first; otherwise a power cut could leave the new name with no content.
    if (!FlushFileBuffers(file.get())) return WriteFault{"FlushFileBuffers", GetLastError()};
    return std::nullopt;
}

// The numbered name after `number` in the target's folder, in the target's
// form: with the target's extension, or bare when it has none.
Result<std::wstring> numbered_sibling(const std::wstring& target, std::uint64_t number) {
    const auto name = numbered_file_name(number, ImageFormat::Png);  // "008.png": only its number is taken
    if (!name) return plain_failure("File number exhausted");
    const std::u16string target16 = win::to_u16(target);
    std::u16string sibling = join_path(folder_of(target16), std::u16string_view(*name).substr(0, name->rfind(u'.')));
    if (const auto extension = extension_of(target16)) sibling = with_extension(sibling, *extension);
    return win::from_u16(sibling);
}

// Whether another program has the file open in a way that refuses the
// delete access a replace needs: such a holder is said as one.
bool held_open_elsewhere(const std::wstring& path) {
    win::UniqueFileHandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe) return false;
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool read_only(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool may_be_held(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

constexpr DWORD kHeldRetryMs = 50;

Result<std::wstring> write_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing,
                                      FileWriteCall write, DWORD held_wait_ms) {
    const std::wstring temporary = temporary_path_for(target);
    const auto give_up = [&](Failure failure) -> Result<std::wstring> {
        DeleteFileW(temporary.c_str());
        return failure;
    };
    if (const auto fault = write_whole_file(temporary, bytes, write)) {
        // The user chose the target and knows nothing of our temporary name,
        // which stays only as the detail of the call that failed.
        Failure failure = win::win32_failure_code(fault->error, "Writing", target);
        failure.message += " (" + std::string(fault->call) + " " + win::to_utf8(temporary) + ")";
        return give_up(std::move(failure));
    }

    const DWORD flags = MOVEFILE_WRITE_THROUGH | (keep_existing ? 0 : MOVEFILE_REPLACE_EXISTING);
    const ULONGLONG held_deadline = GetTickCount64() + held_wait_ms;
    std::wstring destination = target;
    std::optional<std::uint64_t> number;  // of the numbered name last tried
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), destination.c_str(), flags)) return destination;
        const DWORD error = GetLastError();
        if (!keep_existing && held_wait_ms > 0 && may_be_held(error) && !read_only(destination)) {
            // Any reader holds the target out of a replace while it reads,
            // even one that shares everything (the program's own processes
            // read the settings and the board's files so), and lets go
            // within moments: the replace is tried again until then.
            if (GetTickCount64() < held_deadline) {
                Sleep(kHeldRetryMs);
                continue;
            }
            // Windows says "Access is denied" for a held target; a holder
            // that still refuses sharing is named instead, so that the
            // caller can tell it from a file it may never write.
            if (held_open_elsewhere(destination))
                return give_up(win::win32_failure_code(ERROR_SHARING_VIOLATION, "MoveFileExW", destination));
        }
        const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        if (!keep_existing || !taken || attempt == MAX_NUMBERED_ATTEMPTS)
            return give_up(win::win32_failure_code(error, "MoveFileExW", destination));
        // The first number follows the highest default name of the folder;
        // each later one follows the name just found taken.
        if (!number) {
            auto largest = largest_file_number(win::folder_of(target));
            if (!largest) return give_up(std::move(largest).failure());
            number = *largest;
        }
        auto next = numbered_sibling(target, (*number)++);
        if (!next) return give_up(std::move(next).failure());
        destination = std::move(next).value();
    }
}

}  // namespace

std::wstring temporary_path_for(const std::wstring& target) {
    const std::string save = std::to_string(g_save_number++);
    // photo.4242.tmp, with the save's number before its "tmp".
    const std::u16string base = temporary_path(win::to_u16(target), GetCurrentProcessId());
    return win::from_u16(with_extension(base, std::u16string(save.begin(), save.end()) + u".tmp"));
}

Result<std::wstring> write_file_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing,
                                           FileWriteCall write) {
    return write_atomically(bytes, target, keep_existing, write, keep_existing ? 0 : kHeldTargetWaitMs);
}

Result<std::wstring> replace_file_atomically(std::string_view bytes, const std::wstring& target, DWORD held_wait_ms) {
    return write_atomically(bytes, target, false, WriteFile, held_wait_ms);
}

}  // namespace glimmerly
