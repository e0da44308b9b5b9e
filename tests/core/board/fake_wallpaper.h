#pragma once
// A desktop for the board's tests: monitors as data, wallpapers, position
// and colour kept in memory, every set call recorded, and any call made to
// fail on request.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/board/wallpaper.h"

namespace glimmerly::testing {

struct FakeMonitor {
    std::optional<std::u16string> path;  // none: GetMonitorDevicePathAt answers null
    std::optional<Box> rect;             // none: GetMonitorRECT fails
};

class FakeWallpaper : public WallpaperApi {
public:
    std::vector<FakeMonitor> monitors;
    std::map<std::string, std::optional<std::u16string>> wallpapers;  // by id
    std::uint32_t raw_position = 4;
    std::uint32_t colour = 0;  // COLORREF
    std::vector<std::pair<std::string, std::u16string>> set_calls;
    std::vector<WallpaperPosition> position_calls;
    std::optional<Failure> fail_count, fail_wallpaper, fail_set;
    std::optional<std::uint32_t> fail_path_at;  // index whose GetMonitorDevicePathAt fails

    void add_monitor(const std::string& id, Box rect, std::optional<std::u16string> wallpaper = std::nullopt) {
        monitors.push_back({std::u16string(id.begin(), id.end()), rect});
        wallpapers[id] = std::move(wallpaper);
    }

    Result<std::uint32_t> monitor_count() override {
        if (fail_count) return *fail_count;
        return static_cast<std::uint32_t>(monitors.size());
    }
    Result<std::optional<std::u16string>> monitor_path_at(std::uint32_t index) override {
        if (fail_path_at == index || index >= monitors.size()) return Failure{E_INVALIDARG_CODE, "GetMonitorDevicePathAt"};
        return monitors[index].path;
    }
    Result<Box> monitor_rect(std::string_view id) override {
        for (const FakeMonitor& monitor : monitors)
            if (monitor.path && std::string(monitor.path->begin(), monitor.path->end()) == id && monitor.rect)
                return *monitor.rect;
        return Failure{E_FAIL_CODE, "GetMonitorRECT"};
    }
    Result<std::optional<std::u16string>> wallpaper(std::string_view id) override {
        if (fail_wallpaper) return *fail_wallpaper;
        const auto found = wallpapers.find(std::string(id));
        if (found == wallpapers.end()) return std::optional<std::u16string>();
        return found->second;
    }
    Status set_wallpaper(std::string_view id, std::u16string_view path) override {
        if (fail_set) return *fail_set;
        set_calls.emplace_back(std::string(id), std::u16string(path));
        wallpapers[std::string(id)] = std::u16string(path);
        return ok_status();
    }
    Result<std::uint32_t> position() override { return raw_position; }
    Status set_position(WallpaperPosition position) override {
        position_calls.push_back(position);
        raw_position = static_cast<std::uint32_t>(position);
        return ok_status();
    }
    Result<std::uint32_t> background_colour() override { return colour; }
};

}  // namespace glimmerly::testing
