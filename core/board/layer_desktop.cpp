#include "core/board/layer_desktop.h"

namespace glimmerly {

LayerDesktop layer_desktop_for(const BoardBase& record, std::span<const BoardScreen> monitors,
                               const PathRules& rules) {
    LayerDesktop desktop;
    desktop.position = record.position;
    bool first = true;
    for (const BoardScreen& monitor : monitors) {
        const BoardBaseScreen* screen = find_base_screen(record, monitor.name);
        std::optional<std::u16string> picture = screen ? screen->image : std::nullopt;
        if (picture && picture->empty()) picture.reset();
        if (first) {
            desktop.picture = std::move(picture);
            first = false;
        } else if (!same_wallpaper_path(desktop.picture, picture, rules)) {
            return LayerDesktop{true, std::nullopt, record.position};
        }
    }
    return desktop;
}

BoardBase layer_record_of_desktop(std::span<const BoardScreen> monitors, const std::optional<std::u16string>& picture,
                                  WallpaperPosition position, Rgb colour) {
    BoardBase record;
    record.position = position;
    record.colour = colour;
    const bool shown = picture && !picture->empty();
    for (const BoardScreen& monitor : monitors)
        record.screens.push_back({monitor.name, shown ? picture : std::nullopt, std::nullopt});
    return record;
}

}  // namespace glimmerly
