// Which combinations the program holds while a shortcut is being chosen and
// after: asked of the system by registering the same combination from the
// test's thread, which the system refuses while the program holds it.

#include "app/app/row_edit.h"

#include <gtest/gtest.h>

#include "app/app/app.h"
#include "app/app/setup.h"
#include "app/app/tray_menu.h"
#include "core/menu/popup_rows.h"
#include "app/presentation/presentation.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/hotkey_held.h"

namespace glimmerly {
namespace {

constexpr UINT kAll = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr Shortcut kAltA{MOD_ALT, 'A'};
constexpr Shortcut kSpotlight{kAll, VK_F20};

bool held(Shortcut shortcut) { return testing_support::hotkey_held(shortcut); }

// The resident's App with temporary shapes and the pointer effects on, as a
// user presenting has it, and a capture shortcut so that no setup quits.
struct Presenting {
    Presenting() : test(AppOptions{.keeps_settings = false}) {
        auto app = test.cell().try_borrow();
        app->settings.pointer.spotlight_shortcut = kSpotlight;
        ready = register_hotkey(app->capture_registration, kAll, VK_F13).ok();
        auto made = attach_presentation_state(test.window(), app->settings);
        if (!made) return;
        app->presentation = std::move(*made);
        auto state = app->presentation->try_borrow();
        ready = ready && apply_presentation_features(*state, {.pointer_effects = true, .temporary_shapes = true}).ok();
    }
    testing_support::TestAppWindow test;
    bool ready = false;
};

TEST(ShortcutsWhileChoosing, TheFirstRunSetupHoldsNoPresentationShortcutUntilItCloses) {
    Presenting presenting;
    ASSERT_TRUE(presenting.ready);
    auto app = presenting.test.cell().try_borrow();
    const HWND window = presenting.test.window();
    app->settings.capture_shortcut = {kAll, VK_F13};
    EXPECT_TRUE(held(kAltA));
    EXPECT_TRUE(held(kSpotlight));

    ASSERT_TRUE(activate_resident(*app, window).ok());
    EXPECT_FALSE(held(kAltA));  // pressed now, it is recorded instead of arming an arrow
    EXPECT_FALSE(held(kSpotlight));
    auto state = app->presentation->try_borrow();
    EXPECT_TRUE(state->features.temporary_shapes);  // the features stay on
    state.release();

    ASSERT_TRUE(commit_recorded_shortcut(*app, window, kSetupFocusCancel).ok());
    EXPECT_FALSE(app->setup_open);
    EXPECT_TRUE(held(kAltA));
    EXPECT_TRUE(held(kSpotlight));
}

TEST(ShortcutsWhileChoosing, APopupRowLetsThemGoWhileItRecordsAndTheNewArrowIsInForceAtOnce) {
    Presenting presenting;
    ASSERT_TRUE(presenting.ready);
    auto app = presenting.test.cell().try_borrow();
    const HWND window = presenting.test.window();
    ASSERT_TRUE(open_tray_popup(*app, window).ok());
    ASSERT_TRUE(handle_row_command(*app, window, APP_COMMAND_DRAW_ARROW, kRowStartRecording, 0).ok());
    EXPECT_FALSE(held(kAltA));
    EXPECT_FALSE(held(kSpotlight));

    ASSERT_TRUE(record_row_key(*app, window, kAll, VK_F18).ok());
    EXPECT_EQ(app->settings.shape_shortcuts[kShapeArrow], (Shortcut{kAll, VK_F18}));
    EXPECT_FALSE(app->setup_open);
    EXPECT_TRUE(held({kAll, VK_F18}));
    EXPECT_FALSE(held(kAltA));  // the old arrow is free for other programs
    EXPECT_TRUE(held(kSpotlight));
}

// The tray's shape rows come from what presentation mode could register: a
// drawing shortcut it could not have carries the unavailable bit, the others
// do not, and the snapshot follows the flags as they change.
TEST(ShortcutsWhileChoosing, TheTraySnapshotMarksEachShapeShortcutThePresentationCouldNotRegister) {
    Presenting presenting;
    ASSERT_TRUE(presenting.ready);
    auto app = presenting.test.cell().try_borrow();
    for (std::size_t failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(failing);
        {
            auto state = app->presentation->try_borrow();
            state->shortcuts.failed = {};
            state->shortcuts.failed[1 + failing] = true;  // index 0 is the stop shortcut
        }
        auto bindings = shortcut_bindings_snapshot(*app);
        ASSERT_TRUE(bindings.ok());
        for (std::size_t shape = 0; shape < 3; ++shape) {
            const std::uint32_t word = bindings->shortcuts[2 + shape];
            EXPECT_EQ(unpack_shortcut(word), app->settings.shape_shortcuts[shape]);
            EXPECT_EQ((word & kShortcutUnavailableBit) != 0, shape == failing);
        }
    }
}

}  // namespace
}  // namespace glimmerly
