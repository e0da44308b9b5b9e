#include "core/image/mapped_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace glimmerly {
namespace {

// A 3 x 2 desktop as a driver maps it: 4 bytes of padding (0xEE) after each
// row, every pixel its own colour, alpha 0 as duplication leaves it.
std::vector<std::uint8_t> synthetic_desktop() {
    std::vector<std::uint8_t> bytes(16 * 2, 0xEE);
    for (std::uint8_t y = 0; y < 2; ++y)
        for (std::uint8_t x = 0; x < 3; ++x)
            std::copy_n(std::array<std::uint8_t, 4>{std::uint8_t(10 * x + y), std::uint8_t(100 + x),
                                                    std::uint8_t(200 + y), 0}.begin(),
                        4, bytes.begin() + y * 16 + x * 4);
    return bytes;
}

TEST(MappedFrame, EachRotationComesOutUprightOpaqueAndWithoutPadding) {
    const auto desktop = synthetic_desktop();
    struct Row {
        const char* name;
        std::uint32_t rotation, width, height;
        std::uint32_t corner_x, corner_y;  // where the texture's top-left pixel lands
    };
    const Row rows[] = {{"unspecified", FRAME_ROTATION_UNSPECIFIED, 3, 2, 0, 0},
                        {"identity", FRAME_ROTATION_IDENTITY, 3, 2, 0, 0},
                        {"90", FRAME_ROTATION_90, 2, 3, 1, 0},
                        {"180", FRAME_ROTATION_180, 3, 2, 2, 1},
                        {"270", FRAME_ROTATION_270, 2, 3, 0, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto picture = copy_mapped_frame({desktop.data(), 3, 2, 16}, row.rotation);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        ASSERT_EQ(std::pair(picture->width, picture->height), std::pair(row.width, row.height));
        const std::uint8_t* corner = &picture->pixels[(row.corner_y * row.width + row.corner_x) * 4];
        EXPECT_EQ(std::vector(corner, corner + 4), (std::vector<std::uint8_t>{0, 100, 200, 255}));
        for (std::size_t i = 3; i < picture->pixels.size(); i += 4) EXPECT_EQ(picture->pixels[i], 255);
        EXPECT_EQ(std::count(picture->pixels.begin(), picture->pixels.end(), 0xEE), 0);
    }
}

TEST(MappedFrame, OppositeRotationsUndoEachOtherAndTwoQuarterTurnsMakeAHalf) {
    const auto desktop = synthetic_desktop();
    const MappedFrame frame{desktop.data(), 3, 2, 16};
    struct Row { const char* name; std::uint32_t first, second, whole; };
    const Row rows[] = {{"90 then 270", FRAME_ROTATION_90, FRAME_ROTATION_270, FRAME_ROTATION_IDENTITY},
                        {"270 then 90", FRAME_ROTATION_270, FRAME_ROTATION_90, FRAME_ROTATION_IDENTITY},
                        {"180 twice", FRAME_ROTATION_180, FRAME_ROTATION_180, FRAME_ROTATION_IDENTITY},
                        {"90 twice", FRAME_ROTATION_90, FRAME_ROTATION_90, FRAME_ROTATION_180}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto once = copy_mapped_frame(frame, row.first);
        ASSERT_TRUE(once.ok());
        const MappedFrame upright{once->pixels.data(), once->width, once->height, once->width * 4};
        const auto twice = copy_mapped_frame(upright, row.second);
        const auto whole = copy_mapped_frame(frame, row.whole);
        ASSERT_TRUE(twice.ok() && whole.ok());
        EXPECT_EQ(twice->width, whole->width);
        EXPECT_EQ(twice->pixels, whole->pixels);
    }
}

TEST(MappedFrame, RefusesLayoutsThatCannotHoldTheirPixels) {
    const auto desktop = synthetic_desktop();
    struct Row { const char* name; MappedFrame frame; std::uint32_t rotation; std::int32_t code; };
    const Row rows[] = {{"not mapped", {nullptr, 3, 2, 16}, 1, E_FAIL_CODE},
                        {"no width", {desktop.data(), 0, 2, 16}, 1, E_INVALIDARG_CODE},
                        {"no height", {desktop.data(), 3, 0, 16}, 1, E_INVALIDARG_CODE},
                        {"pitch shorter than a row", {desktop.data(), 3, 2, 11}, 1, E_INVALIDARG_CODE},
                        {"unknown rotation", {desktop.data(), 3, 2, 16}, 5, E_INVALIDARG_CODE}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto picture = copy_mapped_frame(row.frame, row.rotation);
        ASSERT_FALSE(picture.ok());
        EXPECT_EQ(picture.failure().code, row.code);
        EXPECT_TRUE(row.code != E_INVALIDARG_CODE || picture.failure().message == "Invalid desktop surface layout");
    }
}

}  // namespace
}  // namespace glimmerly
