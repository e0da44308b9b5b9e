#include "ui/overlay/picker_painting.h"

#include <algorithm>

#include "core/editor/colour_picker.h"
#include "core/editor/toolbar_hints.h"
#include "core/render/picker_pictures.h"

namespace glimmerly {

namespace {

using win::ComPtr;

Result<ComPtr<ID2D1Bitmap>> bitmap_from_pixels(ID2D1RenderTarget* target, std::uint32_t width, std::uint32_t height,
                                               const std::vector<std::uint8_t>& pixels) {
    if (width == 0 || height == 0 || pixels.size() != std::size_t{width} * height * 4)
        return invalid_input("Generated picture length");
    ComPtr<ID2D1Bitmap> bitmap;
    const auto properties = D2D1::BitmapProperties(
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
    GLIM_TRY(made(target->CreateBitmap(D2D1::SizeU(width, height), pixels.data(), width * 4, properties, bitmap.put()),
                  bitmap, "CreateBitmap (generated picture)"));
    return bitmap;
}

void draw_marker(Painter& painter, const PickerMarker& marker, PaintColour colour, double width) {
    stroke_ellipse(painter, marker.centre, marker.radius, marker.radius, colour, width);
}

}  // namespace

Result<Size> measure_text_at_size(RendererResources& resources, std::string_view text, double size) {
    auto format = ui_text_format(resources, static_cast<float>(size), current_language());
    if (!format) return std::move(format).failure();
    return measure_text(resources, text, format->get(), false, 0.0f);
}

Status cached_named_bitmap(Painter& painter, std::string_view key, std::uint64_t version, std::uint32_t width,
                           std::uint32_t height, const PictureGenerator& generate, const Box& destination) {
    painter.fill_record.reset();
    auto store = painter.resources.named_bitmaps.borrow();
    if (!store) return busy_failure("The named bitmap store");
    auto entry = std::find_if(store->begin(), store->end(), [&](const NamedBitmap& e) { return e.key == key; });
    if (entry == store->end() || entry->version != version) {
        auto bitmap = bitmap_from_pixels(painter.target, width, height, generate());
        if (!bitmap) return std::move(bitmap).failure();
        if (entry == store->end()) {
            store->push_back({std::string(key), version, std::move(*bitmap)});
            entry = store->end() - 1;
        } else {
            entry->version = version;
            entry->bitmap = std::move(*bitmap);
        }
    }
    painter.target->DrawBitmap(entry->bitmap.get(), d2d_rect(destination), 1.0f,
                               D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
    return ok_status();
}

Status draw_colour_picker(Painter& painter, const ColourPicker& picker) {
    const CustomColourHint texts = custom_colour_hint(current_language());
    const double s = picker.scale;
    if (!(s > 0.0)) return ok_status();
    auto title = measure_text_at_size(painter.resources, texts.title, 15.0 * s);
    if (!title) return std::move(title).failure();
    auto hint = measure_text_at_size(painter.resources, texts.hint, 11.0 * s);
    if (!hint) return std::move(hint).failure();
    const auto layout = picker_paint_layout(picker, title->w, hint->w);
    if (!layout) return ok_status();

    fill_rounded_rect(painter, layout->panel, layout->panel_radius, PaintColour::opaque(kPickerPanel));
    stroke_rounded_rect(painter, layout->panel, layout->panel_radius, PaintColour::opaque(kPickerPanelOutline),
                        layout->panel_outline);
    GLIM_TRY(cached_named_bitmap(painter, kHueWheelKey, kHueWheelVersion, kHueWheelSide, kHueWheelSide,
                                 generate_hue_wheel, layout->wheel));
    const double hue = picker.hue;
    GLIM_TRY(cached_named_bitmap(painter, kValueSquareKey, value_square_version(hue), kValueSquareSide,
                                 kValueSquareSide, [hue] { return generate_value_square(hue); }, layout->square));
    const PaintColour dark{kPickerMarkerDarkOpacity, 0, 0, 0};
    const PaintColour light = PaintColour::opaque(kWhite);
    for (const PickerMarker& marker : {layout->hue_marker, layout->square_marker}) {
        draw_marker(painter, marker, dark, layout->marker_dark_width);
        draw_marker(painter, marker, light, layout->marker_light_width);
    }
    const Rgb colour = hsv_to_rgb(picker);
    GLIM_TRY(paint_path(painter, layout->swatch, {}, PaintColour::opaque(colour)));
    stroke_neutral_rect(painter, layout->swatch, layout->swatch_outline);

    const PaintColour text = PaintColour::opaque(kPickerText);
    GLIM_TRY(draw_ui_text(painter, texts.title, layout->title, layout->title_size, text));
    GLIM_TRY(draw_ui_text(painter, colour_code(colour), layout->code, layout->code_size, text));
    return draw_ui_text(painter, texts.hint, layout->hint, layout->hint_size, PaintColour::opaque(kPickerHintText));
}

}  // namespace glimmerly
