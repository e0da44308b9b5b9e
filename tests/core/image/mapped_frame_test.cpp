#include "core/image/mapped_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace glimmerly {
namespace {

// A 3 x 2 desktop with 4 bytes of padding at the end of each row, every
// pixel its own colour, alpha 0 as desktop duplication leaves it.
struct SyntheticDesktop {
    static constexpr std::uint32_t kWidth = 3, kHeight = 2, kPitch = 16;
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kPitch * kHeight, 0xEE);
    SyntheticDesktop() {
        for (std::uint32_t y = 0; y < kHeight; ++y)
            for (std::uint32_t x = 0; x < kWidth; ++x) {
                std::uint8_t* p = bytes.data() + y * kPitch + x * 4;
                p[0] = static_cast<std::uint8_t>(10 * x + y);
                p[1] = static_cast<std::uint8_t>(100 + x);
                p[2] = static_cast<std::uint8_t>(200 + y);
                p[3] = 0;
            }
    }
    MappedFrame frame() const { return {bytes.data(), kWidth, kHeight, kPitch}; }
};

MappedFrame frame_of(const BgraImage& picture) {
    return {picture.pixels.data(), picture.width, picture.height, picture.width * 4};
}

std::array<std::uint8_t, 4> pixel_at(const BgraImage& picture, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* p = picture.pixels.data() + (std::size_t{y} * picture.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(MappedFrame, EachRotationComesOutUprightOpaqueAndWithoutPadding) {
    const SyntheticDesktop desktop;
    struct Row {
        const char* name;
        std::uint32_t rotation;
        std::uint32_t width, height;
        std::uint32_t corner_x, corner_y;  // where the texture's top-left pixel lands
    };
    const Row rows[] = {
        {"unspecified", FRAME_ROTATION_UNSPECIFIED, 3, 2, 0, 0},
        {"identity", FRAME_ROTATION_IDENTITY, 3, 2, 0, 0},
        {"90", FRAME_ROTATION_90, 2, 3, 1, 0},
        {"180", FRAME_ROTATION_180, 3, 2, 2, 1},
        {"270", FRAME_ROTATION_270, 2, 3, 0, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto picture = copy_mapped_frame(desktop.frame(), row.rotation);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        EXPECT_TRUE(is_valid_bgra_image(*picture));
        EXPECT_EQ(picture->width, row.width);
        EXPECT_EQ(picture->height, row.height);
        EXPECT_EQ(pixel_at(*picture, row.corner_x, row.corner_y), (std::array<std::uint8_t, 4>{0, 100, 200, 255}));
        for (std::size_t i = 3; i < picture->pixels.size(); i += 4) EXPECT_EQ(picture->pixels[i], 255);
        EXPECT_EQ(std::count(picture->pixels.begin(), picture->pixels.end(), 0xEE), 0);
    }
}

TEST(MappedFrame, OppositeRotationsUndoEachOther) {
    const SyntheticDesktop desktop;
    const auto upright = copy_mapped_frame(desktop.frame(), FRAME_ROTATION_IDENTITY);
    ASSERT_TRUE(upright.ok());
    struct Row {
        const char* name;
        std::uint32_t first, second;
    };
    const Row rows[] = {{"90 then 270", FRAME_ROTATION_90, FRAME_ROTATION_270},
                        {"270 then 90", FRAME_ROTATION_270, FRAME_ROTATION_90},
                        {"180 twice", FRAME_ROTATION_180, FRAME_ROTATION_180}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto once = copy_mapped_frame(desktop.frame(), row.first);
        ASSERT_TRUE(once.ok());
        const auto twice = copy_mapped_frame(frame_of(*once), row.second);
        ASSERT_TRUE(twice.ok());
        EXPECT_EQ(twice->width, upright->width);
        EXPECT_EQ(twice->pixels, upright->pixels);
    }
    // Two quarter turns are a half turn.
    const auto quarter = copy_mapped_frame(desktop.frame(), FRAME_ROTATION_90);
    const auto half = copy_mapped_frame(frame_of(*quarter), FRAME_ROTATION_90);
    EXPECT_EQ(half->pixels, copy_mapped_frame(desktop.frame(), FRAME_ROTATION_180)->pixels);
}

TEST(MappedFrame, RefusesLayoutsThatCannotHoldTheirPixels) {
    const SyntheticDesktop desktop;
    const std::uint8_t* data = desktop.bytes.data();
    struct Row {
        const char* name;
        MappedFrame frame;
        std::uint32_t rotation;
        std::int32_t code;
    };
    const Row rows[] = {
        {"not mapped", {nullptr, 3, 2, 16}, FRAME_ROTATION_IDENTITY, E_FAIL_CODE},
        {"no width", {data, 0, 2, 16}, FRAME_ROTATION_IDENTITY, E_INVALIDARG_CODE},
        {"no height", {data, 3, 0, 16}, FRAME_ROTATION_IDENTITY, E_INVALIDARG_CODE},
        {"pitch shorter than a row", {data, 3, 2, 11}, FRAME_ROTATION_IDENTITY, E_INVALIDARG_CODE},
        {"unknown rotation", {data, 3, 2, 16}, 5, E_INVALIDARG_CODE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto picture = copy_mapped_frame(row.frame, row.rotation);
        ASSERT_FALSE(picture.ok());
        EXPECT_EQ(picture.failure().code, row.code);
        if (row.code == E_INVALIDARG_CODE) {
            EXPECT_EQ(picture.failure().message, "Invalid desktop surface layout");
        }
    }
}

}  // namespace
}  // namespace glimmerly
