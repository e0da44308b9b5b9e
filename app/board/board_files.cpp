#include "app/board/board_files.h"

#include <windows.h>

#include <functional>
#include <vector>

#include "app/lib/atomic_write.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/board/bake_fingerprint.h"
#include "core/board/board_file.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

// "base.txt" holds three lines per screen: far below this.
constexpr std::uint64_t kMaxBaseFileBytes = 16u << 20;

class WindowsPathRules final : public PathRules {
public:
    std::u16string lower_case(std::u16string_view text) const override {
        if (text.empty() || text.size() > 0x7FFFFFFF) return std::u16string(text);
        const std::wstring wide = win::from_u16(text);
        const int size = static_cast<int>(wide.size());
        std::wstring lower(wide.size(), L'\0');
        // Lower-casing keeps the length in the invariant locale; a refusal
        // keeps the text as it is, which only makes two spellings differ.
        const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, wide.c_str(), size, lower.data(),
                                          size, nullptr, nullptr, 0);
        if (written != size) return std::u16string(text);
        return win::to_u16(lower);
    }

    std::optional<std::u16string> canonical_folder(std::u16string_view folder) const override {
        const std::wstring path = win::from_u16(folder);
        // Backup semantics open a folder; no access right is needed for its name.
        win::UniqueFileHandle handle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!handle) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(handle.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        std::wstring final_path(512, L'\0');
        for (;;) {
            const DWORD length = GetFinalPathNameByHandleW(handle.get(), final_path.data(),
                                                           static_cast<DWORD>(final_path.size()), FILE_NAME_NORMALIZED);
            if (length == 0) return std::nullopt;
            if (length < final_path.size()) {
                final_path.resize(length);
                return win::to_u16(final_path);
            }
            final_path.resize(length + 1);
        }
    }
};

const WindowsPathRules kWindowsPathRules;

Failure io_failure(Failure failure) { return error_from_io(std::move(failure.message)); }

}  // namespace

const PathRules& windows_path_rules() { return kWindowsPathRules; }

Result<std::optional<BoardBase>> read_board_base(const std::wstring& folder) {
    auto bytes = win::read_file_if_exists(win::join_path(folder, win::from_u16(kBaseFileName)), kMaxBaseFileBytes);
    if (!bytes) return io_failure(std::move(bytes).failure());
    if (!*bytes) return std::optional<BoardBase>();
    auto base = parse_board_base(**bytes);
    if (!base) return std::move(base).failure();
    return std::optional<BoardBase>(std::move(base).value());
}

Result<BoardBase> stored_or_captured_base(const std::wstring& folder, WallpaperApi& wallpaper,
                                          std::span<const BoardScreen> monitors) {
    auto stored = read_board_base(folder);
    if (!stored) return std::move(stored).failure();
    if (*stored) return std::move(**stored);
    return capture_wallpaper_state(wallpaper, monitors);
}

namespace {

// The text of "baked.txt" without its trailing white space; empty when it
// is missing or unreadable, which no fingerprint equals.
std::string recorded_fingerprint(const std::wstring& folder) {
    auto stored = win::read_file_if_exists(win::join_path(folder, win::from_u16(kBakedFingerprintFileName)), 4096);
    std::string baked = stored && *stored ? std::move(**stored) : std::string();
    while (!baked.empty() && (baked.back() == ' ' || (baked.back() >= '\t' && baked.back() <= '\r')))
        baked.pop_back();
    return baked;
}

Result<BoardBase> reconcile(const std::wstring& folder, WallpaperApi& wallpaper,
                            std::span<const BoardScreen> monitors, const PathRules& rules,
                            const std::function<bool(const BoardBase&)>& recorded_finished) {
    auto stored = read_board_base(folder);
    if (!stored) return std::move(stored).failure();
    if (!*stored) return capture_wallpaper_state(wallpaper, monitors);
    BoardBase base = std::move(**stored);
    const bool unfinished = !recorded_finished(base);
    auto refreshed = refresh_board_base(base, wallpaper, monitors, rules, unfinished);
    if (!refreshed) return std::move(refreshed).failure();
    return base;
}

}  // namespace

bool bake_recorded_finished(const std::wstring& folder, const BoardBase& base, std::span<const BoardScreen> monitors) {
    const std::string baked = recorded_fingerprint(folder);
    if (baked.empty()) return false;
    auto page = read_board_page_file(folder);
    if (!page) return false;
    return baked == bake_fingerprint(board_page_text(*page), base, monitors);
}

bool bake_recorded_finished(const std::wstring& folder, std::string_view page_text, const BoardBase& base,
                            std::span<const BoardScreen> monitors) {
    const std::string baked = recorded_fingerprint(folder);
    return !baked.empty() && baked == bake_fingerprint(page_text, base, monitors);
}

Result<BoardBase> reconciled_board_base(const std::wstring& folder, WallpaperApi& wallpaper,
                                        std::span<const BoardScreen> monitors, const PathRules& rules) {
    return reconcile(folder, wallpaper, monitors, rules, [&](const BoardBase& base) {
        return bake_recorded_finished(folder, base, monitors);
    });
}

Result<BoardBase> reconciled_board_base(const std::wstring& folder, std::string_view page_text,
                                        WallpaperApi& wallpaper, std::span<const BoardScreen> monitors,
                                        const PathRules& rules) {
    return reconcile(folder, wallpaper, monitors, rules, [&](const BoardBase& base) {
        return bake_recorded_finished(folder, page_text, base, monitors);
    });
}

Status write_board_base(const BoardBase& base, const std::wstring& folder) {
    auto written = write_file_atomically(format_board_base(base), win::join_path(folder, win::from_u16(kBaseFileName)),
                                         false);
    if (!written) return std::move(written).failure();
    return ok_status();
}

Result<std::optional<std::string>> read_board_page_file(const std::wstring& folder) {
    auto bytes = win::read_file_if_exists(win::join_path(folder, win::from_u16(kPageFileName)), kMaxBoardFileBytes);
    if (!bytes) return io_failure(std::move(bytes).failure());
    return std::move(bytes).value();
}

std::string_view board_page_text(const std::optional<std::string>& page) {
    return page ? std::string_view(*page) : std::string_view();
}

Status write_whole_file(const std::wstring& path, std::string_view bytes) {
    if (bytes.size() > 0xFFFFFFFFu) return invalid_input("A file of more than 4 GiB");
    win::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return win::win32_failure("CreateFileW", path);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return win::win32_failure("WriteFile", path);
    if (written != bytes.size()) return plain_failure("Writing " + win::to_utf8(path) + ": short write");
    return ok_status();
}

Result<std::wstring> absolute_path(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\")) return path;
    std::wstring full(512, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return win::win32_failure("GetFullPathNameW", path);
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

Result<std::wstring> baked_picture_path(const std::wstring& folder, std::string_view screen_id) {
    return absolute_path(win::join_path(folder, win::from_u16(baked_picture_name(screen_id))));
}

}  // namespace glimmerly
