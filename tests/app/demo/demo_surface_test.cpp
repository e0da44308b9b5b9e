// The demonstration pictures' surface and failures: a GDI call that fails
// without setting an error is still a failure, and what the surface holds is
// copied out opaque.

#include "app/demo/demo_surface.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(DemoGdiFailure, CarriesTheLastErrorOrItsOwnCodeWhenThereIsNone) {
    struct Row {
        const char* name;
        DWORD last_error;
        std::int32_t code;
    } rows[] = {
        {"not enough memory", ERROR_NOT_ENOUGH_MEMORY, static_cast<std::int32_t>(0x80070008u)},
        {"invalid parameter", ERROR_INVALID_PARAMETER, static_cast<std::int32_t>(0x80070057u)},
        {"no error set", 0, kGdiNoErrorCode},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetLastError(row.last_error);
        const Failure failure = demo_gdi_failure("CreateDIBSection");
        EXPECT_EQ(failure.code, row.code);
        EXPECT_NE(failure.message.find("CreateDIBSection"), std::string::npos) << failure.message;
    }
}

TEST(DemoSurface, RefusesAnEmptySideAndCopiesOutOpaque) {
    EXPECT_FALSE(make_demo_surface(0, 10));
    EXPECT_FALSE(make_demo_surface(10, 0));
    auto surface = make_demo_surface(3, 2);
    ASSERT_TRUE(surface) << surface.failure().message;
    // A renderer that leaves a pixel transparent: the picture still shows it opaque.
    surface->bits[4] = 10, surface->bits[5] = 20, surface->bits[6] = 30, surface->bits[7] = 0;
    const BgraImage picture = opaque_copy(*surface);
    ASSERT_EQ(picture.pixels.size(), 3u * 2u * 4u);
    EXPECT_EQ(picture.pixels[4], 10);
    EXPECT_EQ(picture.pixels[6], 30);
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) EXPECT_EQ(picture.pixels[i], 255) << i;
}

}  // namespace
}  // namespace glimmerly
