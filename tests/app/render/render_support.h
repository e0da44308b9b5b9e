#pragma once
// Pictures rendered for the tests: scenes composed over a plain white
// capture through the program's own composition, read back as pixels.

#include <gtest/gtest.h>

#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <span>
#include <vector>

#include "app/render/capture_region.h"
#include "app/render/painting_kit.h"
#include "app/render/renderer_resources.h"
#include "app/win/com.h"

namespace glimmerly::testing {

inline BgraImage plain_picture(std::uint32_t width, std::uint32_t height, Rgb colour = {255, 255, 255}) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = colour.b;
        image.pixels[i + 1] = colour.g;
        image.pixels[i + 2] = colour.r;
        image.pixels[i + 3] = 255;
    }
    return image;
}

inline Rgb pixel(const BgraImage& image, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* p = &image.pixels[(std::size_t{y} * image.width + x) * 4];
    return {p[2], p[1], p[0]};
}

inline bool close_to(Rgb a, Rgb b, int tolerance = 2) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline ::testing::AssertionResult has_colour(const BgraImage& image, Point at, Rgb expected, int tolerance = 2) {
    const Rgb got = pixel(image, static_cast<std::uint32_t>(at.x), static_cast<std::uint32_t>(at.y));
    if (close_to(got, expected, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << at.x << ", " << at.y << ") is " << int(got.r) << ","
                                         << int(got.g) << "," << int(got.b) << ", not " << int(expected.r) << ","
                                         << int(expected.g) << "," << int(expected.b);
}

// COM for the test's thread and one set of resources.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        auto made = create_renderer_resources(false, false);
        ASSERT_TRUE(made) << made.failure().message;
        resources_ = std::move(*made);
    }

    // The objects over a white 200 x 160 capture.
    BgraImage draw(std::span<const SceneObject> objects, std::span<const FillRegion> background = {}) {
        auto image = render_capture_region(*resources_, plain_picture(200, 160), background, objects,
                                           {0, 0, 200, 160});
        EXPECT_TRUE(image) << image.failure().message;
        return image ? std::move(*image) : BgraImage{};
    }

    // Runs `paint` with a painter on a white picture and reads it back.
    BgraImage paint(std::uint32_t width, std::uint32_t height, const std::function<void(Painter&)>& paint) {
        auto wic = win::create_instance<IWICImagingFactory>(CLSID_WICImagingFactory);
        win::ComPtr<IWICBitmap> bitmap;
        win::ComPtr<ID2D1RenderTarget> target;
        const auto properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        if (!wic || FAILED((*wic)->CreateBitmap(width, height, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad,
                                                bitmap.put())) ||
            FAILED(resources_->d2d_factory->CreateWicBitmapRenderTarget(bitmap.get(), &properties, target.put())))
            return {};
        auto painter = make_painter(*resources_, target.get());
        EXPECT_TRUE(painter);
        target->BeginDraw();
        target->Clear(D2D1::ColorF(1, 1, 1));
        paint(*painter);
        EXPECT_EQ(target->EndDraw(), S_OK);
        BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
        EXPECT_EQ(bitmap->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size()), image.pixels.data()),
                  S_OK);
        return image;
    }

    win::ComApartment com_;
    std::unique_ptr<RendererResources> resources_;
};

}  // namespace glimmerly::testing
