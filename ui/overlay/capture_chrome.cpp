#include "ui/overlay/capture_chrome.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "app/render/picture_drawing.h"
#include "core/document/geometry.h"
#include "core/editor/chrome_math.h"
#include "core/editor/colour_picker.h"
#include "core/editor/monitor_views.h"
#include "core/editor/overlay_geometry.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/toolbar.h"
#include "core/editor/toolbar_hints.h"
#include "core/render/chrome_paint.h"
#include "ui/capture/editor_window_part.h"
#include "ui/overlay/picker_painting.h"

namespace glimmerly {

namespace {

constexpr double kSizePanelRadius = 6.0;  // units
constexpr double kSizeLabelInset = 8.0;
constexpr double kSizeLabelTop = 4.0;
constexpr double kPanelIconScale = 0.8;  // of the unit, for the full-screen button's picture
constexpr Rgb kPanelIcon{235, 235, 235};
constexpr Rgb kFieldOutline{120, 120, 120};
constexpr double kFieldRadius = 3.0;  // units
constexpr double kTooltipSize = 12.0;
// The magnifier: its enlarged picture fills a square under a margin, with
// the swatch and the colour's code below it.
constexpr double kMagnifierMargin = 6.0;
constexpr double kMagnifierZoom = 8.0;  // screen pixels per frame pixel at scale 1
constexpr double kSwatchHeight = 26.0;
constexpr double kCodeSize = 13.0;

Result<double> text_width(Painter& painter, std::string_view text, double size) {
    auto measured = measure_text_at_size(painter.resources, text, size);
    if (!measured) return std::move(measured).failure();
    return measured->w;
}

// An axis-aligned clip for a scope.
class ClipScope {
public:
    ClipScope(ID2D1RenderTarget* target, const Box& box) : target_(target) {
        target->PushAxisAlignedClip(d2d_rect(box), D2D1_ANTIALIAS_MODE_ALIASED);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
    ~ClipScope() { target_->PopAxisAlignedClip(); }

private:
    ID2D1RenderTarget* target_;
};

// The frame area the target holds: a partial repaint binds its invalid
// rectangle alone and moves frame coordinates into it.
Box bound_area(ID2D1RenderTarget* target) {
    D2D1_MATRIX_3X2_F moved{};
    target->GetTransform(&moved);
    const D2D1_SIZE_F size = target->GetSize();
    return {-moved._31, -moved._32, -moved._31 + size.width, -moved._32 + size.height};
}

// Whether anything drawn inside `box`, grown by `margin` for outlines and
// antialiasing, can land in the area.
bool reaches(const Box& box, double margin, const Box& area) {
    return box.left - margin < area.right && area.left < box.right + margin && box.top - margin < area.bottom &&
           area.top < box.bottom + margin;
}

Status draw_hint_box(Painter& painter, const HintBox& hint, std::string_view text, float opacity) {
    fill_rounded_rect(painter, hint.box, hint.radius, {opacity, kHintBoxFill.r, kHintBoxFill.g, kHintBoxFill.b});
    return draw_ui_text(painter, text, hint.text, hint.text_size, {opacity, kHintText.r, kHintText.g, kHintText.b});
}

// One kept picture of the toolbar: a panel with its buttons, or panels that
// come near each other with all their buttons, in the order they were
// always drawn in (panels, then buttons), so that no overlap draws otherwise.
struct ToolbarSheet {
    Box bounds;
    Picture picture;
};

std::vector<ToolbarSheet> toolbar_sheets(std::span<const ToolbarButton> buttons,
                                         std::span<const ToolbarButtonLook> looks, double s, double margin) {
    // The buttons among `indices`, by panel, panels without buttons left out.
    const auto by_panel = [&](const std::vector<std::size_t>& indices) {
        std::vector<std::vector<std::size_t>> panels;
        for (const ToolbarPanel panel : {ToolbarPanel::Tools, ToolbarPanel::Actions}) {
            std::vector<std::size_t> mine;
            for (const std::size_t i : indices)
                if (buttons[i].panel == panel) mine.push_back(i);
            if (!mine.empty()) panels.push_back(std::move(mine));
        }
        return panels;
    };
    std::vector<std::size_t> all(buttons.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    std::vector<std::vector<std::size_t>> groups = by_panel(all);
    const auto panel_of = [&](const std::vector<std::size_t>& group) {
        std::vector<ToolbarButton> mine;
        for (const std::size_t i : group) mine.push_back(buttons[i]);
        return toolbar_panel_rects(mine, s).front();
    };
    const auto reach_of = [&](const std::vector<std::size_t>& group) {
        Box reach = panel_of(group);
        for (const std::size_t i : group) reach = box_union(reach, looks[i].background);
        return grow_box(reach, margin);
    };
    if (groups.size() == 2 && boxes_overlap(reach_of(groups[0]), reach_of(groups[1]))) {
        groups[0].insert(groups[0].end(), groups[1].begin(), groups[1].end());
        groups.pop_back();
        std::sort(groups[0].begin(), groups[0].end());
    }
    std::vector<ToolbarSheet> sheets;
    for (const std::vector<std::size_t>& group : groups) {
        ToolbarSheet sheet{reach_of(group), {}};
        // Merged groups hold both panels: each panel drawn before any button.
        const std::vector<std::vector<std::size_t>> panels = by_panel(group);
        const double radius = kToolbarPanelRadius * s;
        for (const auto& panel : panels) {
            const Box box = panel_of(panel);
            sheet.picture.push_back({RoundedRectShape{box, radius, true}, kToolbarPanelFill});
            sheet.picture.push_back({RoundedRectShape{box, radius, false}, kToolbarPanelOutline, 1.0f, s});
        }
        for (const std::size_t i : group) {
            const ToolbarButtonLook& look = looks[i];
            sheet.picture.push_back({RoundedRectShape{look.background, look.radius, true}, look.background_colour});
            Picture icon = place_picture(toolbar_picture(buttons[i].action, look.style, look.pair), look.icon_origin,
                                         look.icon_scale);
            sheet.picture.insert(sheet.picture.end(), std::make_move_iterator(icon.begin()),
                                 std::make_move_iterator(icon.end()));
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

Status draw_toolbar(EditorState& state, Painter& painter, ChromeClock::time_point now) {
    const SelectionColourState colours = build_toolbar_frame(state, state.color, InkChoice{}, now);
    const std::vector<ToolbarButton> buttons = layout_toolbar(state);
    if (buttons.empty()) return ok_status();
    const double s = anchor_monitor_scale(state);
    const std::vector<Box> panels = toolbar_panel_rects(buttons, s);
    // The toolbar costs as much as the rest of a frame under Wine (its
    // buttons are many small drawings): a partial repaint whose area misses
    // it skips it, as none of its pixels would fall inside.
    const Box area = bound_area(painter.target);
    const double margin = 2.0 * s + 2.0;
    const auto shown = [&](const Box& box) { return reaches(box, margin, area); };
    if (std::none_of(panels.begin(), panels.end(), shown) &&
        std::none_of(buttons.begin(), buttons.end(), [&](const ToolbarButton& b) { return shown(b.rect); }))
        return ok_status();
    std::vector<ToolbarButtonLook> looks;
    looks.reserve(buttons.size());
    for (const ToolbarButton& button : buttons)
        looks.push_back(toolbar_button_look(state, button, state.color, colours, now));
    // Kept as bitmaps, and drawn again only when a button's look changes
    // (hover, press, colour, tool, scale, place): a whole frame
    // then makes one call per panel instead of about a hundred.
    const std::vector<ToolbarSheet> sheets = toolbar_sheets(buttons, looks, s, margin);
    auto kept = painter.resources.toolbar_pictures.borrow();
    if (!kept) return busy_failure("The toolbar pictures");
    kept->resize(sheets.size());
    for (std::size_t i = 0; i < sheets.size(); ++i)
        GLIM_TRY(draw_kept_picture(painter, (*kept)[i], sheets[i].picture, sheets[i].bounds));
    return ok_status();
}

// The size panel above the selection: its size, and the square button that
// toggles full screen.
Status draw_size_panel(EditorState& state, Painter& painter, ChromeClock::time_point now) {
    const auto panel = place_size_panel(state);
    if (!panel) return ok_status();
    const double s = anchor_monitor_scale(state);
    const EditorWindowPart* part = state.window.get();
    const DimensionFieldsPart* fields = part && part->dimension_fields ? &*part->dimension_fields : nullptr;
    // Like the toolbar, skipped by a partial repaint that misses it; not
    // while its fields are open, whose drawing follows the caret.
    const Box area = bound_area(painter.target);
    if (!panel->fields && !fields && !reaches(panel->panel, 2.0 * s + 2.0, area) &&
        !reaches(panel->button, 2.0 * s + 2.0, area))
        return ok_status();
    // Its two boxes and the button's picture are kept like the toolbar;
    // its label is drawn on them straight, as text stays out of kept pictures.
    const Point centre = box_centre(panel->button);
    const double k = kPanelIconScale * s;
    Picture boxes{{RoundedRectShape{panel->panel, kSizePanelRadius * s, true}, kHintBoxFill},
                  {RoundedRectShape{panel->button, kSizePanelRadius * s, true}, kHintBoxFill}};
    const Picture icon = place_picture(icon_picture(IconKind::RegionCorners, kPanelIcon),
                                       {centre.x - 10.0 * k, centre.y - 10.0 * k}, k);
    boxes.insert(boxes.end(), icon.begin(), icon.end());
    {
        auto kept = painter.resources.size_panel_picture.borrow();
        if (!kept) return busy_failure("The size panel's picture");
        GLIM_TRY(draw_kept_picture(painter, *kept, boxes,
                                   grow_box(box_union(panel->panel, panel->button), 2.0 * s + 2.0)));
    }

    {
        ClipScope clip(painter.target, panel->panel);
        const Box& p = panel->panel;
        if (!panel->fields)
            GLIM_TRY(draw_ui_text(painter, selection_size_text(*state.capture_selection),
                                  {p.left + kSizeLabelInset * s, p.top + kSizeLabelTop * s, p.right, p.bottom},
                                  kSizeLabelSize * s, PaintColour::opaque(kSizeLabelText)));
        if (fields && panel->fields) {
            const Box rects[] = {panel->fields->width, panel->fields->height};
            for (std::size_t i = 0; i < 2; ++i) {
                stroke_rounded_rect(painter, rects[i], kFieldRadius * s, PaintColour::opaque(kFieldOutline), s);
                TextBoxView view = dimension_field_view(*fields, i, rects[i]);
                const bool focused = GetFocus() == view.edit;
                GLIM_TRY(draw_text_object(painter, view, state.window->caret, {focused, false, s, now}));
            }
        }
    }
    // A refused size says why under the fields, until they close.
    if (!fields || !fields->fields.hint) return ok_status();
    const std::string hint(text_of(current_language(), *fields->fields.hint));
    auto width = text_width(painter, hint, kTooltipSize * s);
    if (!width) return std::move(width).failure();
    return draw_hint_box(painter, place_toolbar_tooltip(state, panel->panel, *width), hint, 1.0f);
}

Status draw_prompt(const EditorState& state, Painter& painter) {
    const Language language = current_language();
    const std::string title = localized_text(language, TextId::overlay_select_area);
    const std::string line =
        localized_text(language, TextId::overlay_cancel, {{"shortcut", text_of(language, TextId::key_esc)}});
    const double s = anchor_monitor_scale(state);
    auto title_width = text_width(painter, title, kPromptTitleSize * s);
    if (!title_width) return std::move(title_width).failure();
    auto line_width = text_width(painter, line, kPromptLineSize * s);
    if (!line_width) return std::move(line_width).failure();
    const PromptLayout prompt = place_prompt(state, *title_width, *line_width);
    fill_rounded_rect(painter, prompt.box, prompt.radius,
                      {kPromptOpacity, kPromptFill.r, kPromptFill.g, kPromptFill.b});
    GLIM_TRY(draw_ui_text(painter, title, {prompt.title.x, prompt.title.y, prompt.box.right, prompt.box.bottom},
                          prompt.title_size, PaintColour::opaque(kPromptTitle)));
    return draw_ui_text(painter, line, {prompt.line.x, prompt.line.y, prompt.box.right, prompt.box.bottom},
                        prompt.line_size, PaintColour::opaque(kPromptLine));
}

Status draw_brush(const EditorState& state, Painter& painter) {
    ClipScope clip(painter.target, region_or_image_rect(state, state.pointer));
    const auto circle = brush_circle(state);
    if (circle) {
        stroke_ellipse(painter, circle->centre, circle->radius, circle->radius, PaintColour::opaque(kBrushOuter),
                       circle->outer_width);
        stroke_ellipse(painter, circle->centre, circle->radius, circle->radius, PaintColour::opaque(kBrushInner),
                       circle->inner_width);
        if (state.brush_size_feedback)
            GLIM_TRY(draw_pointer_hint(state, painter,
                                       stroke_width_label(current_language(), brush_preview_width(state).frame_width),
                                       width_label_shift(*circle)));
    }
    if (state.wheel_hint_shown && drawing_cursor_active(state))
        GLIM_TRY(draw_pointer_hint(state, painter, text_of(current_language(), TextId::overlay_wheel_hint),
                                   wheel_hint_shift(state, circle)));
    return ok_status();
}

// The text a toolbar item's tooltip shows: its button's, or the size panel's.
std::optional<TextId> item_text(const EditorState& state, const ToolbarItem& item) {
    for (const ToolbarButton& b : layout_toolbar(state))
        if (same_toolbar_item(b.action, item.action) && b.rect == item.rect) return b.text;
    switch (editor_action_code(item.action).value_or(EditorActionCode::NoEffect)) {
        case EditorActionCode::FullScreenOrPrevious: return TextId::capture_full_screen;
        case EditorActionCode::NoEffect: return TextId::capture_edit_dimensions;
        default: return std::nullopt;
    }
}

Status draw_tooltip(const EditorState& state, Painter& painter, const ToolbarItem& item, float opacity) {
    const auto text_id = item_text(state, item);
    if (!text_id) return ok_status();
    const std::string text = toolbar_hint_text(item.action, *text_id, current_language());
    auto width = text_width(painter, text, kTooltipSize * anchor_monitor_scale(state));
    if (!width) return std::move(width).failure();
    return draw_hint_box(painter, place_toolbar_tooltip(state, item.rect, *width), text, opacity);
}

Status draw_tooltips(const EditorState& state, Painter& painter, ChromeClock::time_point now) {
    if (const auto fading = fading_toolbar_item(state.toolbar.hover, now))
        GLIM_TRY(draw_tooltip(state, painter, fading->item, fading->opacity));
    if (const auto item = settled_toolbar_item(state.toolbar.hover, now))
        GLIM_TRY(draw_tooltip(state, painter, *item, 1.0f));
    return ok_status();
}

// The frame pixels around the pointer enlarged, the pointer's pixel framed,
// and below them the colour it would pick with its code.
Status draw_magnifier(const EditorState& state, Painter& painter) {
    const double s = anchor_monitor_scale(state);
    const Box box = place_magnifier_box(state);
    fill_rounded_rect(painter, box, kSizePanelRadius * s, PaintColour::opaque(kHintBoxFill));
    const double m = kMagnifierMargin * s;
    const double side = box.right - box.left - 2.0 * m;
    const Box view = box_at(box.left + m, box.top + m, side, side);
    const Point at = map_point_to_monitor(state, state.pointer);
    const double zoom = kMagnifierZoom * s;
    const Point pixel{std::floor(at.x), std::floor(at.y)};
    const double half = side / zoom / 2.0;
    if (ID2D1Bitmap* background = painter.resources.background.get()) {
        ClipScope clip(painter.target, view);
        const Box source{pixel.x + 0.5 - half, pixel.y + 0.5 - half, pixel.x + 0.5 + half, pixel.y + 0.5 + half};
        painter.fill_record.reset();
        painter.target->DrawBitmap(background, d2d_rect(view), 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR,
                                   d2d_rect(source));
    }
    const Point centre = box_centre(view);
    const Box cell{centre.x - zoom / 2.0, centre.y - zoom / 2.0, centre.x + zoom / 2.0, centre.y + zoom / 2.0};
    stroke_rounded_rect(painter, cell, 0.0, PaintColour::opaque(kBrushOuter), 3.0 * s);
    stroke_rounded_rect(painter, cell, 0.0, PaintColour::opaque(kBrushInner), s);

    const Rgb picked = sample_frame_pixel(state, at).value_or(kBlack);
    const Box swatch = box_at(view.left, view.bottom + m, kSwatchHeight * s, kSwatchHeight * s);
    GLIM_TRY(paint_path(painter, swatch, {}, PaintColour::opaque(picked)));
    stroke_neutral_rect(painter, swatch, s);
    const Box code{swatch.right + m, swatch.top + 4.0 * s, view.right, swatch.bottom};
    return draw_ui_text(painter, colour_code(picked), code, kCodeSize * s, PaintColour::opaque(kHintText));
}

Status draw_pick_hint(const EditorState& state, Painter& painter) {
    const double s = anchor_monitor_scale(state);
    const std::string text = magnifier_pick_hint(current_language());
    auto width = text_width(painter, text, kTooltipSize * s);
    if (!width) return std::move(width).failure();
    const Box magnifier = place_magnifier_box(state);
    return draw_hint_box(painter, place_toolbar_tooltip(state, magnifier, *width), text, 1.0f);
}

}  // namespace

Status draw_pointer_hint(const EditorState& state, Painter& painter, std::string_view text, double shift) {
    auto width = text_width(painter, text, kTooltipSize * anchor_monitor_scale(state));
    if (!width) return std::move(width).failure();
    return draw_hint_box(painter, place_pointer_hint(state, *width, shift), text, 1.0f);
}

Status draw_capture_chrome(EditorState& state, Painter& painter, ChromeClock::time_point now) {
    if (state.capture_selection) {
        GLIM_TRY(draw_toolbar(state, painter, now));
        GLIM_TRY(draw_size_panel(state, painter, now));
    } else {
        GLIM_TRY(draw_prompt(state, painter));
    }
    GLIM_TRY(draw_brush(state, painter));
    GLIM_TRY(draw_tooltips(state, painter, now));
    if (state.eyedropper_armed) GLIM_TRY(draw_magnifier(state, painter));
    if (state.colour_picker) GLIM_TRY(draw_colour_picker(painter, *state.colour_picker));
    if (state.eyedropper_armed) GLIM_TRY(draw_pick_hint(state, painter));
    return ok_status();
}

}  // namespace glimmerly
