#include "ui/settings_panel/settings_placement.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(SettingsPlacement, OpensCentredAndOtherwiseStaysInsideTheWorkArea) {
    // A second monitor right of the first, its taskbar at the bottom.
    const PixelRect work{1920, 0, 3840, 1040};
    const struct {
        const char* name;
        PixelPoint current;
        std::int32_t width, height;
        bool centre;
        PixelPoint place;
    } rows[] = {
        {"opening: centred", {0, 0}, 800, 600, true, {2480, 220}},
        {"opening larger than the area: its top-left", {0, 0}, 2000, 1200, true, {1920, 0}},
        {"inside: kept", {2000, 100}, 800, 600, false, {2000, 100}},
        {"past the right and bottom: moved back", {3500, 900}, 800, 600, false, {3040, 440}},
        {"left of and above the area: moved in", {100, -50}, 800, 600, false, {1920, 0}},
        {"larger than the area: the top-left corner wins", {2500, 500}, 2000, 1200, false, {1920, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(place_settings_window(work, row.current, row.width, row.height, row.centre), row.place);
    }
}

}  // namespace
}  // namespace glimmerly
