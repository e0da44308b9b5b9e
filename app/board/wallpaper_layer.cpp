#include "app/board/wallpaper_layer.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "app/board/board_files.h"
#include "app/board/desktop_picture.h"
#include "app/lib/atomic_write.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/session/image_save.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "app/win/paths.h"
#include "core/base/utf.h"
#include "core/board/layer_desktop.h"

namespace glimmerly {
namespace {

struct LayerMonitor {
    std::u16string id;  // MONITORINFOEXW's device name
    Box rect;
};

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) noexcept {
    auto* monitors = reinterpret_cast<std::vector<LayerMonitor>*>(data);
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;  // gone meanwhile: left out
    try {
        const RECT& r = info.rcMonitor;
        monitors->push_back({win::to_u16(info.szDevice), Box{double(r.left), double(r.top), double(r.right), double(r.bottom)}});
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

Result<std::vector<LayerMonitor>> enumerate_monitors() {
    std::vector<LayerMonitor> monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, &add_monitor, reinterpret_cast<LPARAM>(&monitors)))
        return win::win32_failure("EnumDisplayMonitors");
    return monitors;
}

std::optional<std::uint32_t> read_style_value(const wchar_t* name) {
    wchar_t text[32]{};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, DESKTOP_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t* end = nullptr;
    const unsigned long value = wcstoul(text, &end, 10);
    if (end == text) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

Status write_style_value(const wchar_t* name, std::uint32_t value) {
    const std::wstring text = std::to_wstring(value);
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, DESKTOP_KEY, name, REG_SZ, text.c_str(),
                                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) return win::win32_failure_code(static_cast<DWORD>(status), "RegSetKeyValueW", name);
    return ok_status();
}

Status write_desktop_style(WallpaperPosition position) {
    const DesktopStyle style = desktop_style_of(position);
    GLIM_TRY(write_style_value(WALLPAPER_STYLE_VALUE, style.style));
    return write_style_value(TILE_WALLPAPER_VALUE, style.tile);
}

// The registry first: every process's SPI_SETDESKWALLPAPER lands there at
// once, while Wine's user32 keeps answering SPI_GETDESKWALLPAPER with the
// value this process read first (a resident would see the desktop of its own
// start-up, and never find the board another process baked).
std::wstring desktop_picture_path() {
    wchar_t stored[MAX_PATH + 1]{};
    DWORD size = sizeof(stored);
    if (RegGetValueW(HKEY_CURRENT_USER, DESKTOP_KEY, WALLPAPER_VALUE, RRF_RT_REG_SZ, nullptr, stored, &size) ==
        ERROR_SUCCESS)
        return stored;
    wchar_t path[MAX_PATH + 1]{};
    // An unreadable setting reads as no picture.
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) return std::wstring();
    return path;
}

std::vector<BoardScreen> screens_of(const std::vector<LayerMonitor>& monitors) {
    std::vector<BoardScreen> screens;
    for (const LayerMonitor& monitor : monitors) screens.push_back({utf16_to_utf8(monitor.id), monitor.rect});
    return screens;
}

// SPIF_SENDCHANGE makes Explorer draw the picture again, also when only the
// style changed behind the same path.
Status set_desktop_picture(const std::wstring& path) {
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return win::win32_failure("SystemParametersInfoW(SPI_SETDESKWALLPAPER)", path);
    return ok_status();
}

class WallpaperLayer final : public WallpaperApi {
public:
    explicit WallpaperLayer(std::wstring folder) : folder_(std::move(folder)) {}

    Result<std::uint32_t> monitor_count() override {
        auto monitors = enumerate_monitors();
        if (!monitors) return std::move(monitors).failure();
        monitors_ = std::move(monitors).value();
        return static_cast<std::uint32_t>(monitors_.size());
    }

    Result<std::optional<std::u16string>> monitor_path_at(std::uint32_t index) override {
        if (index >= monitors_.size()) return invalid_input("No monitor at that index");
        return std::optional<std::u16string>(monitors_[index].id);
    }

    Result<Box> monitor_rect(std::string_view id) override {
        auto monitors = enumerate_monitors();
        if (!monitors) return std::move(monitors).failure();
        const std::u16string wanted = utf8_to_utf16_lossy(id);
        for (const LayerMonitor& monitor : *monitors)
            if (monitor.id == wanted) return monitor.rect;
        return invalid_input("No monitor " + std::string(id));
    }

    Result<std::optional<std::u16string>> wallpaper(std::string_view id) override {
        auto record = span_record();
        if (!record) return std::move(record).failure();
        if (*record) {
            const BoardBaseScreen* screen = find_base_screen(**record, id);
            return screen ? screen->image : std::nullopt;
        }
        return std::optional<std::u16string>(win::to_u16(desktop_picture_path()));
    }

    Status set_wallpaper(std::string_view id, std::u16string_view path) override {
        auto monitors = enumerate_monitors();
        if (!monitors) return std::move(monitors).failure();
        if (monitors->size() <= 1) return set_desktop_picture(win::from_u16(path));
        auto record = span_record();
        if (!record) return std::move(record).failure();
        BoardBase layered = *record ? std::move(**record) : record_of_desktop(*monitors);
        std::optional<std::u16string> picture;
        if (!path.empty()) picture = std::u16string(path);
        if (BoardBaseScreen* screen = find_base_screen(layered, id))
            screen->image = std::move(picture);
        else
            layered.screens.push_back({std::string(id), std::move(picture), std::nullopt});
        return show_layered(layered, *monitors);
    }

    Result<std::uint32_t> position() override {
        auto record = span_record();
        if (!record) return std::move(record).failure();
        if (*record) return static_cast<std::uint32_t>((*record)->position);
        return static_cast<std::uint32_t>(
            position_from_desktop_style(read_style_value(WALLPAPER_STYLE_VALUE), read_style_value(TILE_WALLPAPER_VALUE)));
    }

    Status set_position(WallpaperPosition position) override {
        auto record = span_record();
        if (!record) return std::move(record).failure();
        if (*record) {
            auto monitors = enumerate_monitors();
            if (!monitors) return std::move(monitors).failure();
            (*record)->position = position;
            return show_layered(**record, *monitors);
        }
        GLIM_TRY(write_desktop_style(position));
        // Setting the same picture again makes the desktop take the style;
        // a picture that is gone is left for the next set to replace.
        const std::wstring current = desktop_picture_path();
        if (current.empty() || GetFileAttributesW(current.c_str()) == INVALID_FILE_ATTRIBUTES) return ok_status();
        return set_desktop_picture(current);
    }

    Result<std::uint32_t> background_colour() override { return static_cast<std::uint32_t>(GetSysColor(COLOR_DESKTOP)); }

private:
    std::wstring record_path() const { return win::join_path(folder_, win::from_u16(kLayerRecordFileName)); }
    std::wstring span_path() const { return win::join_path(folder_, win::from_u16(kLayerSpanPictureName)); }

    // The record, while several monitors are there and the desktop shows the
    // layer's own span picture; none otherwise.
    Result<std::optional<BoardBase>> span_record() {
        auto monitors = enumerate_monitors();
        if (!monitors) return std::move(monitors).failure();
        if (monitors->size() <= 1) return std::optional<BoardBase>();
        auto span = absolute_path(span_path());
        if (!span) return std::move(span).failure();
        if (!same_wallpaper_path(win::to_u16(desktop_picture_path()), win::to_u16(*span), windows_path_rules()))
            return std::optional<BoardBase>();
        auto bytes = win::read_file_if_exists(record_path(), 16u << 20);
        if (!bytes) return std::move(bytes).failure();
        if (!*bytes) return std::optional<BoardBase>();
        auto record = parse_board_base(**bytes);
        // A damaged record is the layer's own: it starts again from the desktop.
        if (!record) return std::optional<BoardBase>();
        return std::optional<BoardBase>(std::move(record).value());
    }

    // Every monitor shows the desktop's one picture in its one style; a span
    // picture whose record was lost is no one's picture.
    BoardBase record_of_desktop(const std::vector<LayerMonitor>& monitors) const {
        std::optional<std::u16string> current = win::to_u16(desktop_picture_path());
        if (current->empty() || is_program_picture_path(*current)) current.reset();
        return layer_record_of_desktop(screens_of(monitors), current,
                                       position_from_desktop_style(read_style_value(WALLPAPER_STYLE_VALUE),
                                                                   read_style_value(TILE_WALLPAPER_VALUE)),
                                       unpack_rgb(GetSysColor(COLOR_DESKTOP)));
    }

    // One picture for every monitor goes on the desktop as itself, in the
    // record's own style and tile flag; differing pictures are spanned.
    Status show_layered(const BoardBase& record, const std::vector<LayerMonitor>& monitors) {
        const std::vector<BoardScreen> screens = screens_of(monitors);
        const LayerDesktop plan = layer_desktop_for(record, screens, windows_path_rules());
        if (plan.spanned) return show_spanned(record, screens);
        GLIM_TRY(write_desktop_style(plan.position));
        return set_desktop_picture(win::from_u16(plan.picture.value_or(std::u16string())));
    }

    Status show_spanned(const BoardBase& record, const std::vector<BoardScreen>& screens) {
        auto picture = compose_desktop_picture(record, screens);
        if (!picture) return std::move(picture).failure();
        if (!CreateDirectoryW(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return win::win32_failure("CreateDirectoryW", folder_);
        auto span = absolute_path(span_path());
        if (!span) return std::move(span).failure();
        GLIM_TRY(save_image_atomically(picture->image, *span, ImageFormat::Png));
        auto written = write_file_atomically(format_board_base(record), record_path(), false);
        if (!written) return std::move(written).failure();
        GLIM_TRY(write_desktop_style(WallpaperPosition::Span));
        return set_desktop_picture(*span);
    }

    std::wstring folder_;
    std::vector<LayerMonitor> monitors_;  // as the last count saw them
};

}  // namespace

std::unique_ptr<WallpaperApi> create_wallpaper_layer(std::wstring board_folder) {
    return std::make_unique<WallpaperLayer>(std::move(board_folder));
}

Result<std::unique_ptr<WallpaperApi>> create_wallpaper_layer() {
    auto folder = board_dir_path();
    if (!folder) return std::move(folder).failure();
    return create_wallpaper_layer(std::move(folder).value());
}

}  // namespace glimmerly
