#include "app/lib/folder_tree.h"

#include <algorithm>
#include <functional>

#include "app/lib/atomic_write.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/paths/path_names.h"

namespace glimmerly {
namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

bool is_folder(DWORD attributes) { return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY); }
bool is_link(DWORD attributes) { return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_REPARSE_POINT); }

Status delete_file(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return ok_status();
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) &&
        DeleteFileW(path.c_str()))
        return ok_status();
    if (error == ERROR_ACCESS_DENIED) error = GetLastError();
    return win::win32_failure_code(error, "DeleteFileW", path);
}

// Calls `visit` for every entry of the folder but "." and ".."; stops at the
// first failure (of the listing or of `visit`).
Status for_each_folder_entry(const std::wstring& folder,
                             const std::function<Status(const WIN32_FIND_DATAW&)>& visit) {
    const std::wstring pattern = win::join_path(folder.empty() ? L"." : folder, L"*");
    WIN32_FIND_DATAW data{};
    win::UniqueFindHandle find(
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return ok_status();  // a root with no entries at all
        return win::win32_failure_code(error, "FindFirstFileExW", folder);
    }
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        GLIM_TRY(visit(data));
    } while (FindNextFileW(find.get(), &data));
    if (GetLastError() != ERROR_NO_MORE_FILES) return win::win32_failure("FindNextFileW", folder);
    return ok_status();
}

}  // namespace

Status create_directories(const std::wstring& folder) {
    if (folder.empty()) return ok_status();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (is_folder(attributes)) return ok_status();
    if (attributes != kNoAttributes)
        return win::win32_failure_code(ERROR_ALREADY_EXISTS, "CreateDirectoryW", folder);
    const std::wstring parent = win::folder_of(folder);
    if (!parent.empty() && parent.size() < folder.size()) GLIM_TRY(create_directories(parent));
    if (CreateDirectoryW(folder.c_str(), nullptr)) return ok_status();
    // Kept before the probe below, which sets its own error: a folder
    // refused with "Access denied" would otherwise read "File not found".
    const DWORD error = GetLastError();
    // Another process may have made it between the check and here.
    if (is_folder(GetFileAttributesW(folder.c_str()))) return ok_status();
    return win::win32_failure_code(error, "CreateDirectoryW", folder);
}

Result<bool> folder_is_empty(const std::wstring& folder) {
    bool empty = true;
    GLIM_TRY(for_each_folder_entry(folder, [&](const WIN32_FIND_DATAW&) {
        empty = false;
        return ok_status();
    }));
    return empty;
}

Status copy_directory_tree(const std::wstring& source, const std::wstring& target) {
    GLIM_TRY(create_directories(target));
    return for_each_folder_entry(source, [&](const WIN32_FIND_DATAW& entry) -> Status {
        const std::wstring from = win::join_path(source, entry.cFileName);
        const std::wstring to = win::join_path(target, entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return ok_status();
            return copy_directory_tree(from, to);
        }
        if (!CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, 0))
            return win::win32_failure("CopyFileExW", from);
        return ok_status();
    });
}

Status remove_tree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == kNoAttributes) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ok_status();
        return win::win32_failure_code(error, "GetFileAttributesW", path);
    }
    if (!is_folder(attributes)) return delete_file(path);
    if (!is_link(attributes)) {
        GLIM_TRY(for_each_folder_entry(
            path, [&](const WIN32_FIND_DATAW& entry) { return remove_tree(win::join_path(path, entry.cFileName)); }));
    }
    if (!RemoveDirectoryW(path.c_str())) return win::win32_failure("RemoveDirectoryW", path);
    return ok_status();
}

Status copy_folder_into_place(const std::wstring& source, const std::wstring& target) {
    const std::wstring staging = temporary_path_for(target);
    // Left over from an attempt of an earlier process with the same id.
    GLIM_TRY(remove_tree(staging));
    Status copied = copy_directory_tree(source, staging);
    if (copied && !MoveFileExW(staging.c_str(), target.c_str(), 0))
        copied = win::win32_failure("MoveFileExW", target);
    if (!copied) (void)remove_tree(staging);
    return copied;
}

Result<std::uint64_t> largest_file_number(const std::wstring& folder) {
    std::uint64_t largest = 0;
    GLIM_TRY(for_each_folder_entry(folder, [&](const WIN32_FIND_DATAW& entry) {
        if (const auto number = classify_save_name(win::to_u16(entry.cFileName))) largest = std::max(largest, *number);
        return ok_status();
    }));
    return largest;
}

Result<std::wstring> next_free_file_name(const std::wstring& folder, ImageFormat format) {
    auto largest = largest_file_number(folder);
    if (!largest) return std::move(largest).failure();
    const auto name = numbered_file_name(*largest, format);
    if (!name) return plain_failure("File number exhausted");
    return win::join_path(folder, win::from_u16(*name));
}

}  // namespace glimmerly
