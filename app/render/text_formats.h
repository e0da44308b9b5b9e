#pragma once
// DirectWrite text formats and measurement. Interface text uses the system's
// Segoe UI families (cached per size, style and language in the renderer
// resources); annotation text uses the font built into the executable,
// loaded from memory into a private collection once per thread.

#include <d2d1.h>
#include <dwrite.h>

#include <cstdint>
#include <string_view>

#include "app/render/renderer_resources.h"
#include "core/render/ui_text_style.h"
#include "text/text_table.h"

namespace glimmerly {

// An RGB colour with an opacity, for text.
struct TextColour {
    Rgb rgb;
    float alpha = 1.0f;
};

// True when the system has "Segoe UI Variable Text"; asked once per process.
bool has_variable_segoe_font(RendererResources& resources);

// Cached formats: the same key gives the same format (a new reference). A
// system without "Segoe UI" gets the built-in font instead.
Result<win::ComPtr<IDWriteTextFormat>> styled_text_format(RendererResources& resources, float size,
                                                          UiTextStyle style, Language language);
Result<win::ComPtr<IDWriteTextFormat>> ui_text_format(RendererResources& resources, float size, Language language);

// A format of its own, never shared, for a caller that sets its alignment
// and wrapping: the interface font chosen as for the cached formats.
Result<win::ComPtr<IDWriteTextFormat>> new_ui_text_format(RendererResources& resources, float size,
                                                          DWRITE_FONT_WEIGHT weight, Language language);

// A new format of the annotation font at the size, tagged with the current
// interface language. The calling thread's private collection is built on
// its first call; a failed build is tried again on the next call.
Result<win::ComPtr<IDWriteTextFormat>> annotation_text_format(IDWriteFactory* factory, float size);

// The text drawn into the rectangle and clipped to it.
Status draw_text_in_rect(ID2D1RenderTarget* target, std::string_view text, const Box& rect,
                         IDWriteTextFormat* format, TextColour colour);
// The same with a brush of the target, re-coloured to the text's colour.
void draw_text_in_rect(ID2D1RenderTarget* target, ID2D1SolidColorBrush* brush, std::string_view text,
                       const Box& rect, IDWriteTextFormat* format, TextColour colour);

// The laid-out size of a text: unwrapped (trailing spaces counted) or wrapped
// at `wrap_width` (trailing spaces not counted). The wrapping is set on the
// layout, never on the format, which other callers share.
Result<Size> measure_text(RendererResources& resources, std::string_view text, IDWriteTextFormat* format,
                          bool wrap, float wrap_width);
Result<Size> measure_annotation_line(RendererResources& resources, std::string_view text, float size);
// The box of an empty label: size 22, wrapped at 150.
Result<Size> measure_default_label_box(RendererResources& resources);

}  // namespace glimmerly
