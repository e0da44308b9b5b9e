#include "ui/capture/cursor_cache.h"

#include <cstring>
#include <vector>

#include "app/win/failure.h"

namespace glimmerly {
namespace {

const wchar_t* system_cursor_name(CursorId id) {
    switch (id) {
        case CursorId::IBeam: return IDC_IBEAM;
        case CursorId::SizeNwse: return IDC_SIZENWSE;
        case CursorId::SizeNesw: return IDC_SIZENESW;
        case CursorId::SizeWe: return IDC_SIZEWE;
        case CursorId::SizeNs: return IDC_SIZENS;
        case CursorId::SizeAll: return IDC_SIZEALL;
        case CursorId::Hand: return IDC_HAND;
        default: return IDC_ARROW;
    }
}

Result<win::UniqueCursor> build_cursor(const CursorPicture& picture) {
    const auto n = static_cast<LONG>(picture.size);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), n, -n, 1, 32, BI_RGB};
    void* bits = nullptr;
    win::UniqueBitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return win::win32_failure("CreateDIBSection");
    std::memcpy(bits, picture.bgra.data(), picture.bgra.size());
    // All zero: the colour picture's alpha says what shows. Monochrome rows
    // are padded to 16 bits.
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((n + 15) / 16 * 2) * picture.size, 0);
    win::UniqueBitmap mask(CreateBitmap(n, n, 1, 1, zeros.data()));
    if (!mask) return win::win32_failure("CreateBitmap");
    ICONINFO icon{FALSE, picture.hot_x, picture.hot_y, mask.get(), colour.get()};
    win::UniqueCursor cursor(CreateIconIndirect(&icon));
    if (!cursor) return win::win32_failure("CreateIconIndirect");
    return cursor;
}

}  // namespace

Result<HCURSOR> CursorCache::cursor(CursorId id, std::uint32_t size) {
    const std::optional<CursorImageKind> kind = cursor_image_kind(id);
    if (!kind) {
        const HCURSOR shared = LoadCursorW(nullptr, system_cursor_name(id));
        if (!shared) return win::win32_failure("LoadCursorW");
        return shared;
    }
    const auto key = std::make_pair(*kind, size);
    if (const auto found = made_.find(key); found != made_.end()) return found->second.get();
    const CursorPicture picture = cursor_picture(*kind, size);
    if (picture.bgra.empty()) return invalid_input("No cursor picture of that size");
    auto built = build_cursor(picture);
    if (!built) return std::move(built).failure();
    return made_.emplace(key, std::move(*built)).first->second.get();
}

std::uint32_t cursor_size_for(HWND window) {
    const int size = GetSystemMetricsForDpi(SM_CXCURSOR, GetDpiForWindow(window));
    return size > 0 ? static_cast<std::uint32_t>(size) : 32u;
}

}  // namespace glimmerly
