#include "core/editor/dimension_fields.h"

#include "core/base/utf.h"
#include "core/editor/size_expression.h"
#include "text/app_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glimmerly {

namespace {

// Sums of fractions such as 0.1*30 land a hair off the whole number the user
// meant.
constexpr double kWholeTolerance = 1e-9;

Failure field_invalid() { return make_app_error(TextId::crop_invalid); }

TextId hint_of(const Failure& failure) {
    const auto parsed = parse_app_error(failure);
    return parsed ? parsed->text : TextId::crop_invalid;
}

// A whole number limited to the i32 range, NaN as 0.
std::string i32_text(double whole) {
    if (std::isnan(whole)) return "0";
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return std::to_string(static_cast<std::int32_t>(std::clamp(whole, lo, hi)));
}

}  // namespace

std::string whole_pixels_text(double value) {
    double whole = std::round(value);
    if (std::abs(value - std::trunc(value)) == 0.5) whole = 2.0 * std::round(value / 2.0);
    return i32_text(whole);
}

std::string selection_size_label(const Box& selection) {
    // The label counts only the pixels the selection wholly covers, so a
    // selection never reads larger than it is.
    return i32_text(std::trunc(selection.right - selection.left)) + " \u00d7 " +
           i32_text(std::trunc(selection.bottom - selection.top));
}

std::optional<DimensionFieldsOpening> open_dimension_fields(EditorState& state) {
    if (!state.capture_selection) return std::nullopt;
    cancel_gesture(state);
    const Box& s = *state.capture_selection;
    DimensionFieldsOpening opening;
    opening.fields.font_size = static_cast<float>(kDimensionFieldTextSize * anchor_monitor_scale(state));
    opening.width_text = whole_pixels_text(s.right - s.left);
    opening.height_text = whole_pixels_text(s.bottom - s.top);
    return opening;
}

DimensionMeasurement dimension_measurement(const EditorState& state, bool fields_open) {
    const double scale = anchor_monitor_scale(state);
    if (fields_open) return MeasureFieldTexts{kDimensionFieldTextSize * scale};
    if (state.capture_selection)
        return MeasureSizeLabel{selection_size_label(*state.capture_selection), kSizeLabelTextSize * scale};
    return std::monostate{};
}

std::optional<SizeFieldRects> store_dimension_layout(EditorState& state, DimensionFields* fields,
                                                     SizePanelWidths measured) {
    state.size_panel_widths = measured;
    const auto panel = place_size_panel(state);
    if (!panel || !panel->fields) return std::nullopt;
    if (fields) {
        fields->width_corner = {panel->fields->width.left, panel->fields->width.top};
        fields->height_corner = {panel->fields->height.left, panel->fields->height.top};
    }
    return panel->fields;
}

DimensionKey dimension_field_key(bool fields_open, VirtualKey key, DimensionFocus focus) {
    if (!fields_open) return DimensionKey::PassOn;
    if (key == kVkTab) return focus == DimensionFocus::Width ? DimensionKey::FocusHeight : DimensionKey::FocusWidth;
    if (key == kVkEscape) return DimensionKey::Close;
    if (key == kVkReturn) return DimensionKey::Commit;
    return DimensionKey::PassOn;
}

Result<std::uint32_t> parse_dimension_value(std::string_view text) {
    if (text.size() > kDimensionFieldLimit) return field_invalid();
    auto value = evaluate_size_expression(text);
    if (!value) return std::move(value).failure();
    const double v = *value;
    const double whole = std::round(v);
    if (!std::isfinite(v) || v < 2.0 || v > 4294967295.0 || std::abs(v - whole) > kWholeTolerance)
        return field_invalid();
    return static_cast<std::uint32_t>(whole);
}

DimensionCommit commit_dimension_fields(EditorState& state, DimensionFields* fields, std::u16string_view width,
                                        std::u16string_view height, bool apply, DimensionFocus focus) {
    if (!fields) return {DimensionCommitOutcome::NotOpen, false};
    if (!apply) return {DimensionCommitOutcome::Discarded, false};
    const DimensionCommit refused{DimensionCommitOutcome::Refused, focus == DimensionFocus::Elsewhere};
    if (!state.capture_selection) return refused;

    const auto w = parse_dimension_value(utf16_to_utf8(width));
    if (!w) {
        fields->hint = hint_of(w.failure());
        return refused;
    }
    const auto h = parse_dimension_value(utf16_to_utf8(height));
    if (!h) {
        fields->hint = hint_of(h.failure());
        return refused;
    }
    const Box& s = *state.capture_selection;
    const Box wanted{s.left, s.top, s.left + *w, s.top + *h};
    const bool corner_usable = std::isfinite(s.left) && std::isfinite(s.top) && s.left >= 0.0 && s.top >= 0.0;
    if (!corner_usable || wanted.right > state.frame_width || wanted.bottom > state.frame_height) {
        fields->hint = TextId::crop_outside;
        return refused;
    }
    state.capture_selection = wanted;
    return {DimensionCommitOutcome::Applied, false};
}

}  // namespace glimmerly
