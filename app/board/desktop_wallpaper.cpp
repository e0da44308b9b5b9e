#include "app/board/desktop_wallpaper.h"

#include <objbase.h>
#include <shobjidl.h>
#include <windows.h>

#include "app/board/wallpaper_layer.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/base/utf.h"

namespace glimmerly {
namespace {

using win::hr_failure;

// A string the object returned, freed with CoTaskMemFree.
struct CoString {
    LPWSTR text = nullptr;
    CoString() = default;
    CoString(const CoString&) = delete;
    CoString& operator=(const CoString&) = delete;
    ~CoString() { CoTaskMemFree(text); }
    std::optional<std::u16string> value() const {
        if (!text) return std::nullopt;
        return win::to_u16(text);
    }
};

std::wstring wide_id(std::string_view id) { return win::to_wide(id); }

class ShellDesktopWallpaper final : public WallpaperApi {
public:
    explicit ShellDesktopWallpaper(win::ComPtr<IDesktopWallpaper> object) : object_(std::move(object)) {}

    Result<std::uint32_t> monitor_count() override {
        UINT count = 0;
        const HRESULT hr = object_->GetMonitorDevicePathCount(&count);
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::GetMonitorDevicePathCount");
        return static_cast<std::uint32_t>(count);
    }

    Result<std::optional<std::u16string>> monitor_path_at(std::uint32_t index) override {
        CoString path;
        const HRESULT hr = object_->GetMonitorDevicePathAt(index, &path.text);
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::GetMonitorDevicePathAt");
        return path.value();
    }

    Result<Box> monitor_rect(std::string_view id) override {
        RECT rect{};
        const HRESULT hr = object_->GetMonitorRECT(wide_id(id).c_str(), &rect);
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::GetMonitorRECT");
        return Box{double(rect.left), double(rect.top), double(rect.right), double(rect.bottom)};
    }

    Result<std::optional<std::u16string>> wallpaper(std::string_view id) override {
        CoString path;
        const HRESULT hr = object_->GetWallpaper(wide_id(id).c_str(), &path.text);
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::GetWallpaper");
        return path.value();
    }

    Status set_wallpaper(std::string_view id, std::u16string_view path) override {
        const std::wstring wide_path = win::from_u16(path);
        const HRESULT hr = object_->SetWallpaper(wide_id(id).c_str(), wide_path.c_str());
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::SetWallpaper");
        return ok_status();
    }

    Result<std::uint32_t> position() override {
        DESKTOP_WALLPAPER_POSITION value{};
        const HRESULT hr = object_->GetPosition(&value);
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::GetPosition");
        return static_cast<std::uint32_t>(value);
    }

    Status set_position(WallpaperPosition position) override {
        const HRESULT hr = object_->SetPosition(static_cast<DESKTOP_WALLPAPER_POSITION>(position));
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::SetPosition");
        return ok_status();
    }

    Result<std::uint32_t> background_colour() override {
        COLORREF colour = 0;
        const HRESULT hr = object_->GetBackgroundColor(&colour);
        if (FAILED(hr)) return hr_failure(hr, "IDesktopWallpaper::GetBackgroundColor");
        return static_cast<std::uint32_t>(colour);
    }

private:
    win::ComPtr<IDesktopWallpaper> object_;
};

Result<win::ComPtr<IDesktopWallpaper>> create_object(HRESULT& hr) {
    win::ComPtr<IDesktopWallpaper> object;
    hr = CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper, object.put_void());
    if (FAILED(hr)) return hr_failure(hr, "CoCreateInstance(DesktopWallpaper)");
    if (!object) return hr_failure(E_NOINTERFACE, "CoCreateInstance(DesktopWallpaper)");
    return object;
}

}  // namespace

Result<std::unique_ptr<WallpaperApi>> create_shell_desktop_wallpaper() {
    HRESULT hr = S_OK;
    auto object = create_object(hr);
    if (!object) return std::move(object).failure();
    return std::unique_ptr<WallpaperApi>(std::make_unique<ShellDesktopWallpaper>(std::move(object).value()));
}

Result<std::unique_ptr<WallpaperApi>> create_desktop_wallpaper() {
    HRESULT hr = S_OK;
    auto object = create_object(hr);
    // Windows before 8 and Wine have no such class: without a layer of the
    // program's own the board would have no desktop at all.
    if (!object && hr == REGDB_E_CLASSNOTREG) return create_wallpaper_layer();
    if (!object) return std::move(object).failure();
    return std::unique_ptr<WallpaperApi>(std::make_unique<ShellDesktopWallpaper>(std::move(object).value()));
}

}  // namespace glimmerly
