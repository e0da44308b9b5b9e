#include "app/render/kept_picture.h"

#include <d2d1_1.h>

#include <cmath>

namespace glimmerly {

namespace {

using win::ComPtr;

bool is_identity(const D2D1_MATRIX_3X2_F& m) {
    return m._11 == 1.0f && m._12 == 0.0f && m._21 == 0.0f && m._22 == 1.0f && m._31 == 0.0f && m._32 == 0.0f;
}

// The area grown to whole pixels, so that the bitmap lands on the target's
// pixel grid one to one.
Box whole_pixels(const Box& area) {
    return {std::floor(area.left), std::floor(area.top), std::ceil(area.right), std::ceil(area.bottom)};
}

Result<ComPtr<ID2D1Bitmap1>> picture_target(ID2D1DeviceContext* context, const Box& area) {
    ComPtr<ID2D1Bitmap1> bitmap;
    const D2D1_BITMAP_PROPERTIES1 properties = D2D1::BitmapProperties1(
        D2D1_BITMAP_OPTIONS_TARGET, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED),
        96.0f, 96.0f);
    const auto size = D2D1::SizeU(static_cast<UINT32>(area.right - area.left),
                                  static_cast<UINT32>(area.bottom - area.top));
    GLIM_TRY(made(context->CreateBitmap(size, nullptr, 0, &properties, bitmap.put()), bitmap,
                  "CreateBitmap (kept picture)"));
    return bitmap;
}

Status paint_into(Painter& painter, ID2D1DeviceContext* context, ID2D1Bitmap1* bitmap, const Box& area,
                  const std::function<Status(Painter&)>& paint) {
    ComPtr<ID2D1Image> frame;
    context->GetTarget(frame.put());
    context->SetTarget(bitmap);
    context->Clear(D2D1::ColorF(0, 0, 0, 0));
    context->SetTransform(
        D2D1::Matrix3x2F::Translation(-static_cast<float>(area.left), -static_cast<float>(area.top)));
    const Status drawn = paint(painter);
    context->SetTransform(D2D1::Matrix3x2F::Identity());
    context->SetTarget(frame.get());
    return drawn;
}

}  // namespace

Status draw_kept_picture(Painter& painter, Guarded<std::optional<KeptPicture>>& slot, std::vector<double> key,
                         const Box& area, const std::function<Status(Painter&)>& paint) {
    D2D1_MATRIX_3X2_F transform{};
    painter.target->GetTransform(&transform);
    const auto context = ComPtr<ID2D1RenderTarget>::share(painter.target).try_query<ID2D1DeviceContext>();
    const Box pixels = whole_pixels(area);
    if (!context || !is_identity(transform) || !(pixels.right > pixels.left && pixels.bottom > pixels.top))
        return paint(painter);
    auto kept = slot.borrow();
    if (!kept) return busy_failure("The kept picture");
    if (!*kept || (*kept)->key != key || !((*kept)->area == pixels)) {
        kept->reset();
        auto bitmap = picture_target(context.get(), pixels);
        if (!bitmap) return std::move(bitmap).failure();
        GLIM_TRY(paint_into(painter, context.get(), bitmap->get(), pixels, paint));
        *kept = KeptPicture{std::move(key), pixels, ComPtr<ID2D1Bitmap>::share(bitmap->get())};
    }
    painter.fill_record.reset();
    painter.target->DrawBitmap((*kept)->bitmap.get(), d2d_rect(pixels), 1.0f,
                               D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    return ok_status();
}

}  // namespace glimmerly
