#include "core/menu/popup_placement.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

const PixelRect kWork{0, 0, 1920, 1040};

TEST(PopupPlacement, ThePopupOpensAtThePointerAndFlipsWhereItWouldLeaveTheWorkArea) {
    const struct { const char* name; PixelPoint anchor; std::int32_t height; PixelRect placed; } rows[] = {
        {"room on both sides", {100, 100}, 617, {100, 100, 400, 717}},
        {"near the bottom: above the pointer", {100, 1000}, 617, {100, 383, 400, 1000}},
        {"near the right: left of the pointer", {1800, 100}, 617, {1500, 100, 1800, 717}},
        {"in the corner by the clock: both", {1900, 1030}, 617, {1600, 413, 1900, 1030}},
        {"taller than the area: its top", {10, 500}, 1200, {10, 0, 310, 1200}},
        {"a pointer left of the area: its left edge", {-50, 100}, 617, {0, 100, 300, 717}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(place_popup(row.anchor, 300, row.height, kWork), row.placed);
    }
}

TEST(PopupPlacement, TheSubmenuStaysBesideThePopupAndInsideTheWorkArea) {
    const struct {
        const char* name;
        PixelRect main;
        std::int32_t top;
        std::optional<PixelRect> work;
        PixelRect placed;
    } rows[] = {
        {"right of the popup, level with its row", {1000, 100, 1300, 717}, 400, kWork, {1300, 400, 1500, 900}},
        {"near the right edge: left of the popup", {1650, 100, 1900, 717}, 400, kWork, {1450, 400, 1650, 900}},
        {"near the bottom: moved up", {1000, 100, 1300, 717}, 800, kWork, {1300, 540, 1500, 1040}},
        {"fits on neither side: against the right edge", {100, 0, 1800, 717}, 0, kWork, {1720, 0, 1920, 500}},
        {"without a work area: as asked", {1650, 100, 1900, 717}, 800, std::nullopt, {1900, 800, 2100, 1300}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(place_submenu(row.main, row.top, 200, 500, row.work), row.placed);
    }
}

}  // namespace
}  // namespace glimmerly
