#include "app/win/key_names.h"

#include <windows.h>

#include "app/win/failure.h"

namespace glimmerly::win {

std::optional<std::string> layout_key_name(std::uint32_t key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (scan == 0) return std::nullopt;
    wchar_t name[128] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 128);
    if (length <= 0) return std::nullopt;
    return to_utf8(std::wstring_view(name, static_cast<std::size_t>(length)));
}

}  // namespace glimmerly::win
