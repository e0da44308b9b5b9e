#pragma once
// Registry keys and values the program reads and writes, all under
// HKEY_CURRENT_USER.

namespace glimmerly {

inline constexpr wchar_t REGISTRY_KEY[] = L"Software\\Glimmerly";
// The key of the product's earlier name, taken over at start-up.
inline constexpr wchar_t EARLIER_REGISTRY_KEY[] = L"Software\\Brindlet";

// The sign-in list and the program's value in it.
inline constexpr wchar_t RUN_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t RUN_VALUE[] = L"Glimmerly";
inline constexpr wchar_t EARLIER_RUN_VALUE[] = L"Brindlet";

// The Print Screen takeover: the system's own use of the key, and where the
// program keeps the value it found before it first changed it (0xFFFFFFFF
// when there was none). The takeover and the restore read this one table.
struct PrintScreenTakeoverNames {
    const wchar_t* system_key;
    const wchar_t* system_value;
    const wchar_t* saved_key;
    const wchar_t* saved_value;
};
inline constexpr PrintScreenTakeoverNames PRINT_SCREEN_TAKEOVER = {
    L"Control Panel\\Keyboard", L"PrintScreenKeyForSnippingEnabled", REGISTRY_KEY, L"SnippingPrintScreenBefore"};

}  // namespace glimmerly

namespace glimmerly {

// The one desktop picture's style, read and written by the board's own
// wallpaper layer where the shell has no DesktopWallpaper object.
inline constexpr wchar_t DESKTOP_KEY[] = L"Control Panel\\Desktop";
inline constexpr wchar_t WALLPAPER_STYLE_VALUE[] = L"WallpaperStyle";
inline constexpr wchar_t TILE_WALLPAPER_VALUE[] = L"TileWallpaper";
// The one desktop picture's path, as SPI_SETDESKWALLPAPER stores it.
inline constexpr wchar_t WALLPAPER_VALUE[] = L"Wallpaper";

}  // namespace glimmerly
