// The board editor's opening under the bake mutex, with a desktop of fake
// monitors and a stand-in for the drawing of the desktop window (Wine has
// none): what it refuses, what it goes on without, and that each monitor's
// wallpaper is read only after the desktop was drawn.

#include "app/board/board_editor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/board/board_files.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/board/board_names.h"
#include "tests/app/board/board_support.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/board/fake_wallpaper.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using testing_support::pixel_matches;
using testing_support::TempFolder;

constexpr Rgb kOwn{0, 0, 255}, kDrawn{0, 200, 0}, kBackground{0x30, 0x20, 0x10};

// Every wallpaper read kept in order with the drawing, and the reads made
// to fail once the desktop was drawn.
struct WatchedDesktop : testing::FakeWallpaper {
    std::vector<std::string> journal;
    bool drawn = false;
    bool unreadable_once_drawn = false;

    Result<std::optional<std::u16string>> wallpaper(std::string_view id) override {
        journal.push_back("read " + std::string(id));
        if (drawn && unreadable_once_drawn) return Failure{E_FAIL_CODE, "GetWallpaper refused by the test"};
        return FakeWallpaper::wallpaper(id);
    }
    std::size_t reads_after_drawing() const {
        const auto at = std::find(journal.begin(), journal.end(), "render");
        return at == journal.end() ? 0 : static_cast<std::size_t>(journal.end() - at - 1);
    }
};

class BoardOpening : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(apartment_.status().ok()); }

    // Monitor A shows the user's own picture, B a baked picture that cannot be read.
    void two_monitors(WatchedDesktop& desktop) {
        const std::wstring own = temp_.path() + L"\\own.png";
        ASSERT_TRUE(
            save_image_atomically(testing_support::solid_picture(32, 32, 255, 0, 0, 255), own, ImageFormat::Png).ok());
        desktop.add_monitor("A", {0, 0, 64, 48}, win::to_u16(own));
        desktop.add_monitor("B", {64, 0, 128, 48}, win::to_u16(temp_.path()) + u"\\" + baked_picture_name("B"));
        desktop.colour = 0x00102030;
    }
    Result<OpenedDesktop> open(WatchedDesktop& desktop, bool draws) {
        return open_board_desktop(temp_.path(), desktop, [&](DesktopPicture& picture) -> Status {
            desktop.journal.push_back("render");
            desktop.drawn = true;
            if (!draws) return plain_failure("No desktop window");
            for (std::size_t i = 0; i < picture.image.pixels.size(); i += 4) {
                picture.image.pixels[i] = kDrawn.b;
                picture.image.pixels[i + 1] = kDrawn.g;
                picture.image.pixels[i + 2] = kDrawn.r;
            }
            return ok_status();
        });
    }

    win::ComApartment apartment_{COINIT_APARTMENTTHREADED};
    TempFolder temp_;
};

TEST_F(BoardOpening, ADesktopWithoutAMonitorIsRefusedBeforeAnythingIsWrittenOrDrawn) {
    WatchedDesktop desktop;
    const auto opened = open(desktop, true);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(error_to_text(opened.failure(), LANGUAGE_ENGLISH), "The board could not be opened.");
    EXPECT_TRUE(desktop.journal.empty());
    const auto base = read_board_base(temp_.path());
    ASSERT_TRUE(base.ok());
    EXPECT_FALSE(base->has_value());
}

// A bake shown on B that cannot be read is no failure: B shows its base
// wherever the desktop was drawn or not; A stays as drawn.
TEST_F(BoardOpening, TheWallpapersAreReadOnlyOnceTheDesktopIsDrawnAndAnUndrawnDesktopOpensOverTheBase) {
    const struct {
        const char* name;
        bool draws;
        bool unreadable_once_drawn;
        bool opens;
        Rgb a;
    } rows[] = {
        {"drawn", true, false, true, kDrawn},
        {"drawn, a wallpaper unreadable then", true, true, false, {}},
        {"not drawn, the wallpapers unreadable then", false, true, true, kOwn},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WatchedDesktop desktop;
        ASSERT_NO_FATAL_FAILURE(two_monitors(desktop));
        desktop.unreadable_once_drawn = row.unreadable_once_drawn;
        const auto opened = open(desktop, row.draws);
        EXPECT_EQ(desktop.reads_after_drawing(), row.draws ? (row.opens ? 2u : 1u) : 0u);
        ASSERT_EQ(opened.ok(), row.opens);
        if (!row.opens) {
            EXPECT_EQ(opened.failure().message, "GetWallpaper refused by the test");
            continue;
        }
        const BgraImage& picture = opened->desktop.desktop.image;
        ASSERT_EQ(picture.width, 128u);
        EXPECT_TRUE(pixel_matches(picture, 10, 10, row.a));
        EXPECT_TRUE(pixel_matches(picture, 100, 10, kBackground));
        EXPECT_EQ(opened->monitors.size(), 2u);
        if (!row.draws) {
            EXPECT_FALSE(opened->desktop.overlay);
        }
        // Written before the drawing, and holding the user's own picture.
        const auto base = read_board_base(temp_.path());
        ASSERT_TRUE(base.ok() && base->has_value());
        const BoardBaseScreen* a = find_base_screen(**base, "A");
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->image.has_value());
    }
}

}  // namespace
}  // namespace glimmerly
