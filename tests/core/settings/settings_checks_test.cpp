#include "core/settings/settings_checks.h"

#include <gtest/gtest.h>

#include <random>

#include "core/settings/settings_file.h"
#include "tests/core/settings/settings_test_support.h"

namespace glimmerly {
namespace {

template <class T>
T pick(std::mt19937& random, std::initializer_list<T> choices) {
    return *(choices.begin() + std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random));
}

bool coin(std::mt19937& random) { return std::uniform_int_distribution<int>(0, 1)(random) == 1; }

Rgb any_colour(std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    return {static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
            static_cast<std::uint8_t>(byte(random))};
}

// One time in 25: a value the file cannot hold.
bool rare(std::mt19937& random) { return std::uniform_int_distribution<int>(0, 24)(random) == 0; }

template <class T>
T good_or_bad(std::mt19937& random, std::initializer_list<T> good, std::initializer_list<T> bad) {
    return rare(random) ? pick(random, bad) : pick(random, good);
}

Shortcut any_shortcut(std::mt19937& random) {
    return {pick<std::uint32_t>(random, {0, 1, 2, 3, 4, 6, 15, 16}), pick<std::uint32_t>(random, {0, 27, 65, 66, 254, 255})};
}

Settings random_record(std::mt19937& random) {
    Settings s;
    s.capture_shortcut = {good_or_bad<std::uint32_t>(random, {0, 5, 15}, {16}),
                          good_or_bad<std::uint32_t>(random, {0, 44, 254}, {255})};
    s.drawing_style = coin(random);
    const int length = std::uniform_int_distribution<int>(0, 4)(random);
    for (int i = 0; i < length; ++i)
        s.save_folder += good_or_bad<char16_t>(random, {u'C', u':', u'\\', 0xD800, 0xFFFF, 0x00E9, 0x0001}, {0x0000});
    s.live_capture = coin(random);
    s.presentation_duration_ms = good_or_bad<std::uint32_t>(random, {1000, 3000, 5000}, {2000, 0});
    s.presentation_color_1 = any_colour(random);
    s.presentation_color_2 = any_colour(random);
    s.input_display_position = good_or_bad<std::uint8_t>(random, {0, 3, 5}, {6, 255});
    if (rare(random)) {
        for (auto& shape : s.shape_shortcuts) shape = any_shortcut(random);
    } else if (coin(random)) {
        s.shape_shortcuts = {{{kShortcutCtrl, 49}, {kShortcutCtrl | kShortcutAlt, 50}, {kShortcutAlt | kShortcutWin, 51}}};
    }
    s.presentation_stroke_width = good_or_bad<std::uint32_t>(random, {1, 5, 40}, {0, 41});
    s.presentation_arrow_size = good_or_bad<std::uint32_t>(random, {16, 28, 40}, {17});
    if (coin(random))
        s.input_display_offset = InputDisplayOffset{good_or_bad<std::uint16_t>(random, {0, 10000}, {10001}),
                                                    good_or_bad<std::uint16_t>(random, {0, 9999}, {65535})};
    s.custom_color = any_colour(random);
    s.start_with_windows = coin(random);
    s.capture_stroke_width = good_or_bad<std::uint32_t>(random, {1, 3, 40}, {0, 41});
    s.instant_capture_shortcut = {good_or_bad<std::uint32_t>(random, {0, 8}, {16}),
                                  good_or_bad<std::uint32_t>(random, {145, 1, 254}, {0, 255})};
    s.input_display_size = good_or_bad<std::uint32_t>(random, {100, 150, 200}, {120});
    s.save_format = good_or_bad<ImageFormat>(random, {ImageFormat::Png, ImageFormat::Jpeg}, {ImageFormat{2}});
    s.board_shortcut = rare(random) ? any_shortcut(random) : Shortcut{kShortcutAlt, 66};
    s.board_visible = coin(random);
    s.capture_eraser_size = good_or_bad<std::uint32_t>(random, {4, 14, 128}, {3, 129});
    s.language = pick<Language>(random, {0, 5, 14, LANGUAGE_AUTO, 15, 200});
    s.pointer.magnifier_zoom = good_or_bad<std::uint32_t>(random, {2, 8}, {9});
    if (coin(random))
        s.pointer.spotlight_shortcut = Shortcut{good_or_bad<std::uint32_t>(random, {0, 15}, {16}), 65};
    s.wheel_hint = coin(random);
    s.mini_toolbar = coin(random);
    s.mini_toolbar_folded = coin(random);
    s.obs_mirror = coin(random);
    return s;
}

// The reason the writer refuses a record must be the reader's: a record is
// written exactly when its file reads back, and then it reads back as itself.
TEST(SettingsValidation, RefusesExactlyWhatTheReaderWouldRefuseWithTheSameMessage) {
    std::mt19937 random(20240611);
    int valid = 0;
    for (int i = 0; i < 4000; ++i) {
        const Settings record = random_record(random);
        const Status check = validate_settings(record);
        auto read = parse_settings(format_settings(record));
        ASSERT_EQ(check.ok(), read.ok()) << "record " << i << ": "
                                         << (check.ok() ? read.failure().message : check.failure().message);
        if (!check.ok()) {
            ASSERT_EQ(check.failure().message, read.failure().message) << "record " << i;
            continue;
        }
        ++valid;
        Settings expected = record;
        // A language that is no language is stored as automatic.
        if (expected.language >= LANGUAGE_COUNT) expected.language = LANGUAGE_AUTO;
        ASSERT_EQ(*read, expected) << "record " << i;
    }
    // Both outcomes must be well represented for the comparison to mean anything.
    EXPECT_GT(valid, 1000);
    EXPECT_LT(valid, 3000);
}

}  // namespace
}  // namespace glimmerly
