#include "app/render/capture_region.h"

#include <wincodec.h>

#include "app/render/area_geometry.h"
#include "app/render/object_drawing.h"
#include "core/blur/blur.h"
#include "core/render/capture_area.h"
#include "core/render/region_geometry.h"

namespace glimmerly {

namespace {

using win::ComPtr;

constexpr char kInvalidImage[] = "Invalid BGRA image dimensions or buffer length";

D2D1_BITMAP_PROPERTIES bitmap_properties(D2D1_ALPHA_MODE alpha) {
    return D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, alpha), 96.0f, 96.0f);
}

Result<ComPtr<ID2D1Bitmap>> premultiplied_bitmap(ID2D1RenderTarget* target, const BgraImage& image) {
    ComPtr<ID2D1Bitmap> bitmap;
    GLIM_TRY(made(target->CreateBitmap(D2D1::SizeU(image.width, image.height), image.pixels.data(),
                                       image.width * 4, bitmap_properties(D2D1_ALPHA_MODE_PREMULTIPLIED),
                                       bitmap.put()),
                  bitmap, "CreateBitmap (overlay)"));
    return bitmap;
}

void draw_at_origin(ID2D1RenderTarget* target, ID2D1Bitmap* bitmap) {
    const D2D1_SIZE_F size = bitmap->GetSize();
    target->DrawBitmap(bitmap, D2D1::RectF(0, 0, size.width, size.height), 1.0f,
                       D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
}

// The background fills, then the objects, then the overlay; the caller's
// BeginDraw and EndDraw around them.
Status compose(RendererResources& resources, ID2D1RenderTarget* target, const BgraImage& source,
               std::span<const FillRegion> background, std::span<const SceneObject> objects) {
    if (!background.empty()) {
        ComPtr<ID2D1SolidColorBrush> brush;
        GLIM_TRY(made(target->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0), brush.put()), brush,
                      "CreateSolidColorBrush"));
        const double w = source.width, h = source.height;
        const Polyline whole{{0, 0}, {w, 0}, {w, h}, {0, h}, {0, 0}};
        auto base = closed_polygon_geometry(resources.d2d_factory.get(), whole);
        if (!base) return std::move(base).failure();
        for (const FillRegion& region : background) {
            const auto boundaries = collect_region_boundaries(region, objects, 0);
            auto area = fill_region_geometry(resources, base->get(), whole, boundaries);
            if (!area) return std::move(area).failure();
            brush->SetColor(d2d_colour(region.color));
            target->FillGeometry(area->get(), brush.get());
        }
    }
    GLIM_TRY(draw_objects_with_cache(resources, target, objects));
    return draw_overlay_image(resources, target);
}

}  // namespace

Result<ComPtr<ID2D1Bitmap>> bitmap_from_image_rect(ID2D1RenderTarget* target, const BgraImage& image,
                                                   std::uint32_t x, std::uint32_t y, std::uint32_t w,
                                                   std::uint32_t h) {
    if (!is_valid_bgra_image(image)) return invalid_input(kInvalidImage);
    if (w == 0 || h == 0 || std::uint64_t{x} + w > image.width || std::uint64_t{y} + h > image.height)
        return invalid_input("Crop outside the image");
    const std::size_t offset = (std::size_t{y} * image.width + x) * 4;
    ComPtr<ID2D1Bitmap> bitmap;
    GLIM_TRY(made(target->CreateBitmap(D2D1::SizeU(w, h), image.pixels.data() + offset, image.width * 4,
                                       bitmap_properties(D2D1_ALPHA_MODE_IGNORE), bitmap.put()),
                  bitmap, "CreateBitmap"));
    return bitmap;
}

Status set_background_image(RendererResources& resources, const BgraImage& image) {
    auto bitmap = bitmap_from_image_rect(resources.dc_target.get(), image, 0, 0, image.width, image.height);
    if (!bitmap) return std::move(bitmap).failure();
    auto blurred = resources.blur_bitmaps.borrow();
    if (!blurred) return busy_failure("The blur bitmap cache");
    resources.background = std::move(*bitmap);
    resources.scene_layer.clear();
    blurred->clear();
    return ok_status();
}

Status cache_image_bitmap(RendererResources& resources, std::optional<BgraImage> image) {
    if (!image) {
        resources.overlay.reset();
        return ok_status();
    }
    if (!is_valid_bgra_image(*image)) return invalid_input(kInvalidImage);
    auto bitmap = premultiplied_bitmap(resources.dc_target.get(), *image);
    if (!bitmap) return std::move(bitmap).failure();
    resources.overlay = OverlayImage{std::move(*image), std::move(*bitmap)};
    return ok_status();
}

Status draw_overlay_image(RendererResources& resources, ID2D1RenderTarget* target) {
    if (!resources.overlay) return ok_status();
    if (!is_valid_bgra_image(resources.overlay->image)) return invalid_input(kInvalidImage);
    // A bitmap belongs to the target that made it; this target may be
    // another one than the DC target the cached bitmap was made on.
    auto bitmap = premultiplied_bitmap(target, resources.overlay->image);
    if (!bitmap) return std::move(bitmap).failure();
    draw_at_origin(target, bitmap->get());
    return ok_status();
}

Status begin_dc_frame(RendererResources& resources, HDC dc, std::uint32_t width, std::uint32_t height) {
    return begin_dc_frame_area(resources, dc, RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)});
}

D2D1::Matrix3x2F frame_area_transform(const RECT& area) {
    return D2D1::Matrix3x2F::Translation(-static_cast<float>(area.left), -static_cast<float>(area.top));
}

Status begin_dc_frame_area(RendererResources& resources, HDC dc, const RECT& area) {
    const HRESULT bound = resources.dc_target->BindDC(dc, &area);
    if (FAILED(bound)) return win::hr_failure(bound, "BindDC");
    ID2D1DCRenderTarget* target = resources.dc_target.get();
    target->BeginDraw();
    target->SetTransform(frame_area_transform(area));
    // The background is opaque and drawn one to one without blending into
    // what lies below: where it covers the area, clearing first would only
    // cost a pass over every pixel.
    bool covered = false;
    if (resources.background && area.left >= 0 && area.top >= 0 && area.right > area.left && area.bottom > area.top) {
        const D2D1_SIZE_U size = resources.background->GetPixelSize();
        covered = size.width >= static_cast<UINT32>(area.right) && size.height >= static_cast<UINT32>(area.bottom);
    }
    if (!covered) target->Clear(D2D1::ColorF(0.0f, 0.0f, 0.0f, 1.0f / 255.0f));
    if (resources.background) draw_at_origin(target, resources.background.get());
    return ok_status();
}

Result<BgraImage> render_capture_region(RendererResources& resources, const BgraImage& picture,
                                        std::span<const FillRegion> background,
                                        std::span<const SceneObject> objects, const Box& region) {
    auto blurred = [&] {
        // A workspace busy further up the stack leaves this blur one of its own.
        auto workspace = resources.blur_workspace.borrow();
        return workspace ? blur_regions(picture, objects, *workspace) : blur_regions(picture, objects);
    }();
    if (!blurred) return std::move(blurred).failure();
    const BgraImage& source = blurred->image();
    const auto pixels = capture_pixel_rect(region, source.width, source.height);
    if (!pixels) return invalid_input("Empty capture region");
    const std::uint32_t w = pixels->width, h = pixels->height;

    auto wic = win::create_instance<IWICImagingFactory>(CLSID_WICImagingFactory);
    if (!wic) return std::move(wic).failure();
    ComPtr<IWICBitmap> bitmap;
    GLIM_TRY(made((*wic)->CreateBitmap(w, h, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, bitmap.put()),
                  bitmap, "IWICImagingFactory::CreateBitmap"));
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE),
        96.0f, 96.0f);
    ComPtr<ID2D1RenderTarget> target;
    GLIM_TRY(made(resources.d2d_factory->CreateWicBitmapRenderTarget(bitmap.get(), &properties, target.put()),
                  target, "CreateWicBitmapRenderTarget"));
    ComPtr<ID2D1Bitmap> shown;
    if (capture_shows_picture(background, objects)) {
        auto made_bitmap = bitmap_from_image_rect(target.get(), source, pixels->left, pixels->top, w, h);
        if (!made_bitmap) return std::move(made_bitmap).failure();
        shown = std::move(*made_bitmap);
    }

    target->BeginDraw();
    target->SetTransform(D2D1::Matrix3x2F::Translation(-static_cast<float>(pixels->left),
                                                       -static_cast<float>(pixels->top)));
    if (shown)
        target->DrawBitmap(shown.get(),
                           D2D1::RectF(static_cast<float>(pixels->left), static_cast<float>(pixels->top),
                                       static_cast<float>(pixels->left + w), static_cast<float>(pixels->top + h)),
                           1.0f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    const Status drawn = compose(resources, target.get(), source, background, objects);
    const HRESULT ended = target->EndDraw();
    if (!drawn) return drawn.failure();
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");

    BgraImage out{std::vector<std::uint8_t>(std::size_t{w} * h * 4, 0), w, h};
    for (std::size_t i = 3; i < out.pixels.size(); i += 4) out.pixels[i] = 255;
    const HRESULT copied =
        bitmap->CopyPixels(nullptr, w * 4, static_cast<UINT>(out.pixels.size()), out.pixels.data());
    if (FAILED(copied)) return win::hr_failure(copied, "IWICBitmap::CopyPixels");
    for (std::size_t i = 3; i < out.pixels.size(); i += 4) out.pixels[i] = 255;
    return out;
}

}  // namespace glimmerly
