#include "app/render/interface_text.h"

#include "core/render/control_geometry.h"

namespace glimmerly {

namespace {

Result<Size> measure_styled(Painter& painter, std::string_view text, double size, UiTextStyle style) {
    auto format = styled_text_format(painter.resources, static_cast<float>(size), style, current_language());
    if (!format) return std::move(format).failure();
    return measure_text(painter.resources, text, format->get(), false, 0.0f);
}

}  // namespace

Status paint_text_middle_left(Painter& painter, std::string_view text, const Box& rect, double size,
                              UiTextStyle style, Rgb colour) {
    auto measured = measure_styled(painter, text, size, style);
    if (!measured) return std::move(measured).failure();
    return paint_text(painter, text, middle_left_text_box(rect, *measured, size), size, PaintColour::opaque(colour),
                      style);
}

Status paint_label_with_note(Painter& painter, const TextLine& label, const TextLine& note, const Box& rect,
                             double scale) {
    const double label_size = label.size * scale, note_size = note.size * scale;
    auto label_measured = measure_styled(painter, label.text, label_size, UiTextStyle::Body);
    if (!label_measured) return std::move(label_measured).failure();
    auto note_measured = measure_styled(painter, note.text, note_size, UiTextStyle::Small);
    if (!note_measured) return std::move(note_measured).failure();
    const StackedLines lines = stacked_lines(rect, label_measured->h, note_measured->h);
    GLIM_TRY(paint_text_middle_left(painter, label.text, lines.label, label_size, UiTextStyle::Body, label.colour));
    return paint_text_middle_left(painter, note.text, lines.note, note_size, UiTextStyle::Small, note.colour);
}

}  // namespace glimmerly
