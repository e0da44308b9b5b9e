#include "core/site_previews/board_film_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace glimmerly {
namespace {

BgraImage filled(std::uint32_t w, std::uint32_t h, std::array<std::uint8_t, 4> bgra) {
    BgraImage image{{}, w, h};
    for (std::size_t i = 0; i < std::size_t(w) * h; ++i) image.pixels.insert(image.pixels.end(), bgra.begin(), bgra.end());
    return image;
}

SceneObject text_object(std::string text, Point at = {10, 10}) {
    SceneObject object;
    TextPayload payload;
    payload.text = std::move(text);
    payload.at = at;
    payload.extent = {40, 20};
    object.payload = payload;
    return object;
}

SceneObject rectangle(Box box) {
    SceneObject object;
    object.payload = RectanglePayload{box};
    object.width = 4;
    return object;
}

TEST(PremultiplyAlpha, ScalesTheColoursByAlphaAndLeavesOpaquePixelsAlone) {
    BgraImage picture{{50, 100, 200, 128, 1, 2, 3, 255, 9, 9, 9, 0}, 3, 1};
    const BgraImage out = premultiply_alpha(std::move(picture));
    EXPECT_EQ(out.pixels, (std::vector<std::uint8_t>{25, 50, 100, 128, 1, 2, 3, 255, 0, 0, 0, 0}));
}

TEST(CompositePremultiplied, TransparentKeepsTheBaseOpaqueGivesTheOverlay) {
    const BgraImage base{{10, 20, 30, 255, 10, 20, 30, 255, 10, 20, 30, 255}, 3, 1};
    const BgraImage overlay{{0, 0, 0, 0, 200, 150, 100, 255, 50, 50, 50, 128}, 3, 1};
    const BgraImage out = composite_premultiplied(base, overlay);
    EXPECT_EQ(out.width, 3u);
    EXPECT_EQ(out.pixels, (std::vector<std::uint8_t>{10, 20, 30, 255, 200, 150, 100, 255, 55, 60, 65, 255}));
    // A smaller overlay leaves the rest of the base as it was.
    const BgraImage one{{0, 0, 0, 255}, 1, 1};
    EXPECT_EQ(composite_premultiplied(base, one).pixels[4], 10);
}

TEST(BoardFilmPictures, MustShareASizeAndShowIconsInBothZones) {
    const BgraImage wallpaper = filled(600, 240, {90, 60, 30, 255});
    BgraImage icons = filled(600, 240, {0, 0, 0, 0});
    const auto paint_icons = [&](std::uint32_t x0, std::uint32_t count) {
        for (std::uint32_t y = 40; y < 40 + count / 40; ++y)
            for (std::uint32_t x = x0; x < x0 + 40; ++x) icons.pixels[(std::size_t(y) * 600 + x) * 4 + 3] = 255;
    };
    paint_icons(150, 520);
    EXPECT_EQ(check_board_film_pictures(wallpaper, icons, wallpaper).failure().message,
              "a zone is drawn around no icon");
    paint_icons(350, 480);
    EXPECT_FALSE(check_board_film_pictures(wallpaper, icons, wallpaper).ok());
    paint_icons(350, 520);
    EXPECT_TRUE(check_board_film_pictures(wallpaper, icons, wallpaper).ok());
    EXPECT_EQ(check_board_film_pictures(wallpaper, icons, filled(600, 241, {})).failure().message,
              "the desktop's three pictures differ in size");
    const BgraImage tiny = filled(1, 1, {0, 0, 0, 255});
    EXPECT_EQ(check_board_film_pictures(tiny, tiny, tiny).failure().message, "a zone is drawn around no icon");
}

TEST(TextsMatch, ComparesOnlyTextsWithoutCarriageReturns) {
    const std::string_view expected[] = {"PERSONAL", "WORK", kBoardFilmTodoNote};
    std::vector<SceneObject> objects{rectangle({0, 0, 9, 9}), text_object("PERSONAL"), rectangle({0, 0, 9, 9}),
                                     text_object("WORK"), text_object("Today\r\n- send the build\r\n- call Tom at 3")};
    EXPECT_TRUE(texts_match(objects, expected));
    objects.push_back(text_object("extra"));
    EXPECT_FALSE(texts_match(objects, expected));
    objects.pop_back();
    objects.pop_back();
    EXPECT_FALSE(texts_match(objects, expected));
}

TEST(ToolbarPanelChecks, EdgesCountAsInsideAndTouchingCountsAsOverlap) {
    const Box screen{0, 0, 100, 100};
    EXPECT_FALSE(any_rect_outside(std::vector<Box>{{0, 0, 100, 100}, {10, 10, 20, 20}}, screen));
    EXPECT_TRUE(any_rect_outside(std::vector<Box>{{10, 10, 20, 20}, {90, 90, 100.5, 100}}, screen));

    const std::vector<Box> panels{{50, 50, 60, 60}};
    EXPECT_FALSE(any_object_overlaps(std::vector<SceneObject>{rectangle({0, 0, 40, 40})}, panels));
    EXPECT_TRUE(any_object_overlaps(std::vector<SceneObject>{rectangle({0, 0, 40, 40}), rectangle({60, 60, 70, 70})},
                                    panels));
}

TEST(BakeChecks, FindIconsOverNotesAndNotesLeftOutOfTheBake) {
    const BgraImage wallpaper = filled(4, 1, {10, 10, 10, 255});
    BgraImage baked = wallpaper;
    baked.pixels[0] = 200;  // pixel 0: a note
    baked.pixels[4] = 200;  // pixel 1: a note
    const BgraImage icons{{1, 2, 3, 255, 1, 2, 3, 128, 1, 2, 3, 255, 0, 0, 0, 0}, 4, 1};
    const BgraImage session{{1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255, 0, 0, 0, 255}, 4, 1};
    // Pixel 1's icon is not opaque, pixel 2 has no note under it.
    EXPECT_EQ(count_icon_over_note_pixels(session, icons, baked, wallpaper), 1u);

    EXPECT_FALSE(any_object_unbaked(std::vector<SceneObject>{rectangle({0.5, 0, 1.2, 0.5})}, baked, wallpaper));
    EXPECT_TRUE(any_object_unbaked(std::vector<SceneObject>{rectangle({0, 0, 1, 1}), rectangle({2, 0, 3.5, 1})},
                                   baked, wallpaper));
    EXPECT_TRUE(any_object_unbaked(std::vector<SceneObject>{rectangle({10, 10, 20, 20})}, baked, wallpaper));
}

}  // namespace
}  // namespace glimmerly
