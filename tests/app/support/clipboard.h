#pragma once
// What another program would paste: the clipboard's picture and text.

#include <windows.h>

#include <string>
#include <utility>

#include "core/image/bgra_image.h"

namespace glimmerly::testing_support {

// The CF_DIB on the clipboard with its rows turned top-down (empty when
// none), and the CF_UNICODETEXT.
inline std::pair<BgraImage, std::wstring> clipboard_contents() {
    std::pair<BgraImage, std::wstring> held;
    if (!OpenClipboard(nullptr)) return held;
    if (const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)))) {
        BgraImage& picture = held.first = {{}, std::uint32_t(header->biWidth), std::uint32_t(header->biHeight)};
        const auto* rows = reinterpret_cast<const std::uint8_t*>(header + 1);
        for (std::uint32_t y = picture.height, stride = picture.width * 4; y-- > 0;)
            picture.pixels.insert(picture.pixels.end(), rows + y * stride, rows + (y + 1) * stride);
        GlobalUnlock(GetClipboardData(CF_DIB));
    }
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)))) {
        held.second = text;
        GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    }
    CloseClipboard();
    return held;
}

}  // namespace glimmerly::testing_support
