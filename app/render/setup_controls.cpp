#include "app/render/setup_controls.h"

#include "app/render/picture_drawing.h"
#include "core/document/geometry.h"
#include "core/render/control_geometry.h"

#include <string>
#include <vector>

namespace glimmerly {

namespace {

constexpr PaintColour kAccentInk = PaintColour::opaque(kSettingsAccent);
constexpr PaintColour kOnKnob = PaintColour::grey(32);
constexpr PaintColour kOffTrack = PaintColour::grey(154);
constexpr PaintColour kOffKnob = PaintColour::grey(198);
constexpr double kTrackRadius = 9.0;

constexpr PaintColour kStripFill = PaintColour::grey(29);
constexpr PaintColour kStripRim = PaintColour::grey(73);
constexpr PaintColour kSelectedFill = PaintColour::grey(61);
constexpr Rgb kSelectedLabel{240, 240, 240};
constexpr Rgb kLabel{198, 198, 198};
constexpr double kStripRadius = 6.0;
constexpr double kSegmentRadius = 4.0;
constexpr double kUnderlineWidth = 2.0;
constexpr double kStripLabelSize = 12.0;

constexpr double kKeyCapHalfHeight = 11.0;
constexpr PaintColour kClearMark = PaintColour::grey(154);
constexpr double kClearMarkWidth = 1.5;
constexpr Rgb kAddLabel{240, 240, 240};
constexpr double kAddLabelSize = 14.0;

constexpr double kButtonRadius = 5.0;
constexpr double kButtonTextSize = 13.0;

// A rim one design pixel wide, centred half of that inside the edge, so that
// all of it lands within the shape it outlines.
void stroke_rim(Painter& painter, const Box& rect, double radius, PaintColour colour, double scale) {
    stroke_rounded_rect(painter, grow_box(rect, -0.5 * scale), radius, colour, scale);
}

}  // namespace

void paint_toggle_switch(Painter& painter, const Box& rect, bool on, double scale) {
    const double s = scale;
    const ToggleSwitchGeometry toggle = toggle_switch_geometry(rect, on, s);
    if (on) {
        fill_rounded_rect(painter, toggle.track, kTrackRadius * s, kAccentInk);
        fill_ellipse(painter, toggle.knob, toggle.knob_radius, toggle.knob_radius, kOnKnob);
    } else {
        stroke_rim(painter, toggle.track, (kTrackRadius - 0.5) * s, kOffTrack, s);
        fill_ellipse(painter, toggle.knob, toggle.knob_radius, toggle.knob_radius, kOffKnob);
    }
}

Status paint_option_strip(Painter& painter, std::span<const std::string> labels,
                          std::span<const double> segment_widths, std::optional<std::size_t> selected,
                          const Box& rect, double scale) {
    if (labels.size() != segment_widths.size())
        return invalid_input("an option strip has " + std::to_string(labels.size()) + " labels but " +
                             std::to_string(segment_widths.size()) + " segment widths");
    const double s = scale;
    fill_rounded_rect(painter, rect, kStripRadius * s, kStripFill);
    stroke_rim(painter, rect, kStripRadius * s, kStripRim, s);
    const std::vector<OptionSegment> segments = option_segments(rect, segment_widths, s);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const OptionSegment& segment = segments[i];
        const bool chosen = selected == i;
        if (chosen) {
            fill_rounded_rect(painter, segment.box, kSegmentRadius * s, kSelectedFill);
            stroke_line(painter, segment.underline_from, segment.underline_to, kAccentInk, kUnderlineWidth * s);
        }
        GLIM_TRY(paint_text_centered(painter, labels[i], segment.box, kStripLabelSize * s,
                                     chosen ? kSelectedLabel : kLabel));
    }
    return ok_status();
}

Status paint_shortcut_cell(Painter& painter, std::size_t row, std::span<const std::string> key_caps,
                           bool unavailable, std::string_view add_label, double add_label_width, const Box& rect,
                           double scale) {
    const double s = scale, mid = (rect.top + rect.bottom) / 2.0;
    const ShortcutCellGeometry cell = shortcut_cell_geometry(rect, row, !key_caps.empty(), add_label_width, s);
    if (cell.add_button) {
        // The "Add" button is the kit's dark card, which has the same fill,
        // rim and corners.
        paint_dark_card(painter, *cell.add_button, s);
        return paint_text_centered(painter, add_label, *cell.add_button, kAddLabelSize * s, kAddLabel);
    }
    GLIM_TRY(paint_key_caps(painter, key_caps, cell.right, mid, kKeyCapHalfHeight, s, unavailable));
    if (cell.clear_mark)
        for (const auto& [from, to] : *cell.clear_mark) stroke_line(painter, from, to, kClearMark, kClearMarkWidth * s);
    return ok_status();
}

Status paint_setup_button(Painter& painter, const Box& rect, double scale, std::string_view text,
                          const ButtonColours& colours) {
    const double s = scale;
    fill_rounded_rect(painter, rect, kButtonRadius * s, PaintColour::opaque(colours.fill));
    stroke_rim(painter, rect, kButtonRadius * s, PaintColour::opaque(colours.border), s);
    return paint_plain_text_centered(painter, text, rect, kButtonTextSize * s, colours.text);
}

}  // namespace glimmerly
