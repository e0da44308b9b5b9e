#include "ui/settings_panel/pointer_preview.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/ui/settings_panel/panel_fixture.h"

namespace glimmerly {
namespace {

using testing::make_panel;

std::vector<std::uint8_t> buttons_marked(const SettingsPanel& panel) {
    std::vector<std::uint8_t> buttons;
    for (std::size_t i = 0; i < panel.preview.next_mark; ++i) buttons.push_back(panel.preview.marks[i].button);
    return buttons;
}

TEST(PointerPreview, ThePointerWandersThirtyInsideTheBox) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    ASSERT_EQ(panel.layout.preview.right - panel.layout.preview.left, 232.0);
    ASSERT_EQ(panel.layout.preview.bottom - panel.layout.preview.top, 236.0);
    double widest = 0.0, tallest = 0.0;
    for (std::uint64_t now = 0; now < 20000; now += 16) {
        ASSERT_TRUE(animate_pointer_preview(panel, now));
        widest = std::max(widest, std::abs(panel.preview.cursor->x));
        tallest = std::max(tallest, std::abs(panel.preview.cursor->y));
    }
    EXPECT_LE(widest, 86.0);
    EXPECT_GT(widest, 85.5);
    EXPECT_LE(tallest, 88.0);
    EXPECT_GT(tallest, 87.5);
}

TEST(PointerPreview, ClicksComeEvery1400MsLeftFirstThenInTurn) {
    PointerSettings pointer;
    pointer.click_animation = 1;
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer);
    (void)animate_pointer_preview(panel, 2000);  // the first call clicks at once
    (void)animate_pointer_preview(panel, 3399);
    (void)animate_pointer_preview(panel, 3400);
    (void)animate_pointer_preview(panel, 4800);
    EXPECT_EQ(buttons_marked(panel), (std::vector<std::uint8_t>{0, 1, 0}));
    EXPECT_EQ(panel.preview.marks[1].time, 3400u);
}

TEST(PointerPreview, WithoutAClickAnimationTheCadenceStillRuns) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    (void)animate_pointer_preview(panel, 2000);
    (void)animate_pointer_preview(panel, 3400);
    EXPECT_TRUE(buttons_marked(panel).empty());
    EXPECT_EQ(panel.preview_clicks, 2u);
    panel.pointer.click_animation = 2;
    (void)animate_pointer_preview(panel, 4800);
    EXPECT_EQ(buttons_marked(panel), (std::vector<std::uint8_t>{0}));  // the third click: left again
}

TEST(PointerPreview, ASmoothHaloFollowsThePointer) {
    PointerSettings pointer;
    pointer.halo_movement = 1;
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects, pointer);
    // At the path's start the pointer is at its fastest, 170 DIPs a second.
    (void)animate_pointer_preview(panel, 0);
    (void)animate_pointer_preview(panel, 16);
    const Point cursor = *panel.preview.cursor;
    const Point halo = *panel.preview.displayed;
    EXPECT_NE(halo, cursor);
    // Held still, the halo reaches the pointer.
    SettingsPanel held = panel;
    for (std::uint64_t now = 16; now <= 600; now += 16) ease_halo(held.preview, now, held.pointer);
    EXPECT_EQ(*held.preview.displayed, cursor);
}

TEST(PointerPreview, OffThePointerPageThePreviewStaysFrozen) {
    SettingsPanel panel = make_panel(SettingsPage::PointerEffects);
    (void)animate_pointer_preview(panel, 2000);
    const auto cursor = panel.preview.cursor;
    show_settings_page(panel, SettingsPage::General);
    EXPECT_FALSE(animate_pointer_preview(panel, 5000));
    EXPECT_EQ(panel.preview.cursor, cursor);
    EXPECT_EQ(panel.preview_clicks, 1u);
}

}  // namespace
}  // namespace glimmerly
