#include "core/base/pixel_rect.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(CentredIn, CentresInTheAreaButKeepsALargerWindowsCornerInside) {
    const PixelRect work{1920, 0, 3840, 1040};
    EXPECT_EQ(centred_in(work, 800, 600), (PixelPoint{2480, 220}));
    EXPECT_EQ(centred_in(work, 801, 601), (PixelPoint{2479, 219}));
    EXPECT_EQ(centred_in(work, 2500, 1200), (PixelPoint{1920, 0}));
}

}  // namespace
}  // namespace glimmerly
