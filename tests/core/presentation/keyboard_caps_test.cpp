#include "core/presentation/keyboard_caps.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace glimmerly {
namespace {

bool overlap(const KeyCapPlace& a, const KeyCapPlace& b) {
    return a.x < cap_right(b) && b.x < cap_right(a) && a.y < cap_bottom(b) && b.y < cap_bottom(a);
}

TEST(KeyboardCaps, EveryKeyOnceInsideThePanelAndNoTwoCapsOverlap) {
    for (const bool us : {false, true}) {
        SCOPED_TRACE(us ? "ANSI" : "ISO");
        const auto caps = keyboard_caps(us);
        std::set<std::pair<int, bool>> keys;
        for (const KeyCapPlace& cap : caps) {
            EXPECT_TRUE(keys.insert({cap.scan, cap.extended}).second) << std::hex << cap.scan;
            EXPECT_LT(cap.scan, 128);
            EXPECT_GE(cap.x, 1);
            EXPECT_GE(cap.y, 1);
            EXPECT_LE(cap_right(cap), 431);
            EXPECT_LE(cap_bottom(cap), 133);
        }
        EXPECT_EQ(caps.size(), us ? 104u : 105u);
        for (std::size_t i = 0; i < caps.size(); ++i)
            for (std::size_t j = i + 1; j < caps.size(); ++j) {
                if (caps[i].iso_enter || caps[j].iso_enter) continue;
                EXPECT_FALSE(overlap(caps[i], caps[j])) << std::hex << caps[i].scan << " " << caps[j].scan;
            }
    }
}

TEST(KeyboardCaps, TheUsLayoutHasNoKeyBesideLeftShiftAndAFlatEnter) {
    const auto find = [](bool us, int scan, bool ext) -> const KeyCapPlace* {
        for (const KeyCapPlace& cap : keyboard_caps(us))
            if (cap.scan == scan && cap.extended == ext) return &cap;
        return nullptr;
    };
    EXPECT_TRUE(find(false, 0x56, false));
    EXPECT_FALSE(find(true, 0x56, false));
    EXPECT_EQ(find(true, 0x2A, false)->width, 2.25);
    EXPECT_EQ(find(false, 0x2A, false)->width, 1.25);
    EXPECT_TRUE(find(false, 0x1C, false)->iso_enter);
    EXPECT_FALSE(find(true, 0x1C, false)->iso_enter);
    EXPECT_EQ(find(true, 0x2B, false)->x, 251);
    // Pause in the navigation block, Num Lock on the pad.
    EXPECT_EQ(find(false, 0x45, true)->x, 324);
    EXPECT_EQ(find(false, 0x45, false)->x, 354);
}

}  // namespace
}  // namespace glimmerly
