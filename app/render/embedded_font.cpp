#include "app/render/embedded_font.h"

#include <windows.h>

#include "app/resources/resource_ids.h"
#include "app/win/failure.h"

namespace glimmerly {

Result<std::span<const std::uint8_t>> embedded_font_bytes() {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(GLIMMERLY_ANNOTATION_FONT), RT_RCDATA);
    if (!found) return win::win32_failure("FindResourceW", L"annotation font");
    const DWORD size = SizeofResource(module, found);
    if (!size) return win::win32_failure("SizeofResource", L"annotation font");
    const HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return win::win32_failure("LoadResource", L"annotation font");
    const void* bytes = LockResource(loaded);
    if (!bytes) return win::win32_failure("LockResource", L"annotation font");
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size);
}

}  // namespace glimmerly
