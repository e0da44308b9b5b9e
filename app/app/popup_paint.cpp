#include "app/app/popup_paint.h"

#include "app/render/picture_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/render/object_drawing.h"
#include "app/render/painting_kit.h"
#include "app/win/failure.h"
#include "app/win/fiber_local.h"
#include "core/render/icons.h"
#include "core/render/key_caps.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

// The menu painter of this thread: one per user-interface thread, so that a
// popup and a still picture made on another thread never share it.
win::FiberLocal<RendererResources> g_menu_resources;

constexpr Rgb grey(std::uint8_t level) { return {level, level, level}; }
constexpr Rgb kBackground = grey(43);
constexpr Rgb kHoverFill = grey(65);
constexpr Rgb kSeparator = grey(73);
constexpr Rgb kLabel = grey(240);
constexpr Rgb kDim = grey(154);
constexpr Rgb kIcon = grey(198);
constexpr Rgb kAccent{0x60, 0xCD, 0xFF};
constexpr Rgb kError{0xF8, 0x51, 0x49};
constexpr Rgb kRecordingFill{29, 42, 49};

constexpr double kLabelSize = 14.0;
constexpr double kSmallSize = 12.0;
constexpr double kContentRight = 14.0;
constexpr double kCapHalfHeight = 11.0;

PaintColour paint(Rgb rgb, float opacity = 1.0f) { return {opacity, rgb.r, rgb.g, rgb.b}; }

Result<IDWriteTextFormat*> format(RendererResources& resources, double size, bool strong) {
    auto made = styled_text_format(resources, static_cast<float>(size), strong ? UiTextStyle::Strong : UiTextStyle::Body,
                                   current_language());
    if (!made) return std::move(made).failure();
    // The cache keeps its own reference for as long as the resources live.
    return made->get();
}

Result<double> text_width(RendererResources& resources, std::string_view text, double size, bool strong) {
    auto f = format(resources, size, strong);
    if (!f) return std::move(f).failure();
    auto measured = measure_text(resources, text, *f, false, 0.0f);
    if (!measured) return std::move(measured).failure();
    return measured->w;
}

// One row painted in its own coordinates (pixels), with its state.
struct RowPaint {
    Painter& painter;
    const PopupRow& row;
    const ShortcutBindings& bindings;
    const PopupRowState& state;
    double s;          // the scale
    double width;      // the row in units
    double height;
    double caps_width;  // units
    bool hovered;
};

// The line of a text whose "X" is centred on `centre` (units), as the kit
// places text on a baseline.
Result<double> x_height(RowPaint& r, double size, bool strong) {
    auto f = format(r.painter.resources, size * r.s, strong);
    if (!f) return std::move(f).failure();
    auto line = measure_text(r.painter.resources, "X", *f, false, 0.0f);
    if (!line) return std::move(line).failure();
    return line->h;
}

Status label_on_centre(RowPaint& r, std::string_view text, double left, double centre, Rgb colour) {
    auto h = x_height(r, kLabelSize, false);
    if (!h) return std::move(h).failure();
    return paint_text_on_baseline(r.painter, r.s, text, left * r.s, r.width * r.s, centre * r.s + *h / 2.0,
                                  kLabelSize, colour);
}

// Small body text standing `above` units over the row's bottom, clipped to the row.
Status hint_text(RowPaint& r, std::string_view text, double left, double above) {
    auto f = format(r.painter.resources, kSmallSize * r.s, false);
    if (!f) return std::move(f).failure();
    auto h = x_height(r, kSmallSize, false);
    if (!h) return std::move(h).failure();
    const double bottom = (r.height - above) * r.s;
    r.painter.fill_record.reset();
    draw_text_in_rect(r.painter.target, r.painter.brush.get(), text,
                      {left * r.s, bottom - *h, r.width * r.s, bottom}, *f, {kDim, 1.0f});
    return ok_status();
}

Box units(const RowPaint& r, double left, double top, double right, double bottom) {
    return {left * r.s, top * r.s, right * r.s, bottom * r.s};
}

Result<std::vector<MeasuredText>> measured_caps(RowPaint& r, const std::vector<std::string>& caps) {
    std::vector<MeasuredText> out;
    for (const std::string& cap : caps) {
        auto w = text_width(r.painter.resources, cap, kKeyCapLabelSize * r.s, false);
        if (!w) return std::move(w).failure();
        out.push_back({cap, *w});
    }
    return out;
}

Status paint_icon(RowPaint& r, std::uint32_t kind, double left, double top, double size, Rgb colour) {
    const Picture placed = place_picture(icon_picture(static_cast<IconKind>(kind), colour), {left * r.s, top * r.s},
                                         size * r.s);
    return draw_picture(r.painter, placed);
}

Status paint_recording_box(RowPaint& r, const ShortcutRecording& recording, double cy) {
    const double right = r.width - kContentRight;
    auto press = text_width(r.painter.resources, text_of(current_language(), TextId::menu_press_keys), kSmallSize, true);
    if (!press) return std::move(press).failure();
    const double box = std::max(*press + 32.0, 140.0);
    const ShortcutFieldLayout field{units(r, right - 56.0 - box, cy - 12.0, right - 56.0, cy + 12.0),
                                    units(r, right - 52.0, cy - 12.0, right - 28.0, cy + 12.0),
                                    units(r, right - 24.0, cy - 12.0, right, cy + 12.0)};
    auto caps = measured_caps(r, recording.caps);
    if (!caps) return std::move(caps).failure();
    std::optional<MeasuredText> placeholder;
    if (caps->empty()) {
        const std::string text(text_of(current_language(), TextId::menu_press_keys));
        auto w = text_width(r.painter.resources, text, kSmallSize * r.s, false);
        if (!w) return std::move(w).failure();
        placeholder = MeasuredText{text, *w};
    }
    const Rgb outline = recording.message.empty() ? kAccent : kError;
    return draw_picture(r.painter, shortcut_field_picture(field, *caps, placeholder, outline, r.s));
}

Status paint_switch(RowPaint& r, bool on, double cy) {
    const double right = r.width - kContentRight;
    if (on) {
        fill_rounded_rect(r.painter, units(r, right - 28.0, cy - 7.0, right, cy + 7.0), 7.0 * r.s, paint(kAccent));
        fill_ellipse(r.painter, {(right - 7.0) * r.s, cy * r.s}, 4.5 * r.s, 4.5 * r.s, paint(kBackground));
    } else {
        stroke_rounded_rect(r.painter, units(r, right - 27.5, cy - 6.5, right - 0.5, cy + 6.5), 6.5 * r.s,
                            paint(grey(154)), r.s);
        fill_ellipse(r.painter, {(right - 21.0) * r.s, cy * r.s}, 4.0 * r.s, 4.0 * r.s, paint(kIcon));
    }
    return ok_status();
}

Status paint_shortcut_value(RowPaint& r, std::uint32_t word, double cy, bool saved) {
    const double caps_left = r.width - kContentRight - r.caps_width;
    auto caps = measured_caps(r, row_caps_labels(word, current_language()));
    if (!caps) return std::move(caps).failure();
    GLIM_TRY(draw_picture(r.painter, key_caps_picture(*caps, (r.width - kContentRight) * r.s, cy * r.s, kCapHalfHeight,
                                                           r.s, (word & kShortcutUnavailableBit) != 0)));
    if (!saved) return ok_status();
    const Box button = units(r, caps_left - 30.0, cy - 12.0, caps_left - 6.0, cy + 12.0);
    paint_dark_card(r.painter, button, r.s);
    return draw_picture(r.painter, circular_arrow_picture(box_centre(button), r.s));
}

Status paint_row(RowPaint& r) {
    const PopupRow& row = r.row;
    const bool header = row.style == RowStyle::Header;
    const double hint_band = row.hint != kNoHint ? 16.0 : 0.0;
    const double cy = (r.height - hint_band) / 2.0;
    const auto shortcut_row = shortcut_row_of(row.command);
    const ShortcutRecording* recording = r.state.recording ? &*r.state.recording : nullptr;
    const bool recording_here = recording && shortcut_row && recording->row == *shortcut_row;
    const bool saved = r.state.saved_row == row.command;
    const std::uint8_t hot = r.state.hot_row == row.command ? r.state.hot_part : kHotNone;

    GLIM_TRY(paint_path(r.painter, units(r, 0, 0, r.width, r.height), {}, paint(kBackground)));
    if (recording_here) {
        const Rgb outline = recording->message.empty() ? kAccent : kError;
        fill_rounded_rect(r.painter, units(r, 4, 1, r.width - 4, r.height - 1), 4.0 * r.s, paint(kRecordingFill));
        stroke_rounded_rect(r.painter, units(r, 4.75, 1.75, r.width - 4.75, r.height - 1.75), 4.0 * r.s,
                            paint(outline), 1.5 * r.s);
    } else if (r.hovered && !(shortcut_row && hot == kHotCaps)) {
        const double right = shortcut_row && hot == kHotLabel ? r.width - kContentRight - r.caps_width - 8.0
                                                               : r.width - 4.0;
        fill_rounded_rect(r.painter, units(r, 4, 1, right, r.height - 1), 4.0 * r.s, paint(kHoverFill));
    } else if (r.hovered) {
        const double left = r.width - kContentRight - r.caps_width - 4.0;
        stroke_rounded_rect(r.painter, units(r, left + 0.75, cy - 12.25, r.width - 10.75, cy + 12.25), 6.0 * r.s,
                            paint(kAccent), 1.5 * r.s);
    }

    if (row.style == RowStyle::Separator) {
        const double y = std::floor(cy * r.s), thick = std::max(std::round(r.s), 1.0);
        return paint_path(r.painter, {12.0 * r.s, y, (r.width - 12.0) * r.s, y + thick}, {}, paint(kSeparator));
    }
    if (!header) {
        std::uint32_t icon = row.icon == 0 ? std::uint32_t{row.icon_argument} << 8 : row.icon;
        if (row.command == APP_COMMAND_SHOW_BOARD && !row_checked(r.bindings, row.command))
            icon = static_cast<std::uint32_t>(IconKind::EyeSlashed);
        if (row.style == RowStyle::Choice) {
            if (row_checked(r.bindings, row.command))
                GLIM_TRY(paint_icon(r, static_cast<std::uint32_t>(IconKind::Check), 12.0, cy - 8.0, 0.8, kLabel));
        } else {
            GLIM_TRY(paint_icon(r, icon, 12.0, cy - 8.0, 0.8, kIcon));
        }
    }

    const Language language = current_language();
    if (header) {
        GLIM_TRY(paint_text_on_baseline(r.painter, r.s, row_label(row, language), 12.0 * r.s, r.width * r.s,
                                        (r.height - hint_band - 3.0) * r.s, kSmallSize, kDim));
    } else {
        const bool message = recording_here && !recording->message.empty();
        GLIM_TRY(label_on_centre(r, message ? recording->message : row_label(row, language), 38.0, cy,
                                 message ? kError : kLabel));
    }
    if (row.hint != kNoHint)
        GLIM_TRY(hint_text(r, text_of(language, text_id(row.hint)), header ? 12.0 : 38.0, header ? 3.0 : 7.0));

    if (row.style == RowStyle::Toggle) GLIM_TRY(paint_switch(r, row_checked(r.bindings, row.command), cy));
    if (row.style == RowStyle::Submenu) {
        const double right = r.width - kContentRight;
        GLIM_TRY(paint_icon(r, static_cast<std::uint32_t>(IconKind::Chevron), right - 8.0, cy - 6.0, 0.6, kIcon));
        if (const auto value = row_value(r.bindings, row.command, language)) {
            auto w = text_width(r.painter.resources, *value, kLabelSize * r.s, false);
            if (!w) return std::move(w).failure();
            auto h = x_height(r, kLabelSize, false);
            if (!h) return std::move(h).failure();
            const double end = (right - 14.0) * r.s;
            GLIM_TRY(paint_text_on_baseline(r.painter, r.s, *value, end - *w, r.width * r.s, cy * r.s + *h / 2.0,
                                            kLabelSize, kIcon));
        }
    }
    if (recording_here) GLIM_TRY(paint_recording_box(r, *recording, cy));
    if (!recording_here)
        if (const auto word = row_shortcut_word(r.bindings, row.command))
            GLIM_TRY(paint_shortcut_value(r, *word, cy, saved));
    if (recording && !recording_here)
        GLIM_TRY(paint_path(r.painter, units(r, 0, 0, r.width, r.height), {}, paint(kBackground, 0.6f)));
    return ok_status();
}

void fill_band(HDC dc, int left, int top, int right, int bottom) {
    const RECT band{left, top, right, bottom};
    win::UniqueBrush brush(CreateSolidBrush(RGB(kBackground.r, kBackground.g, kBackground.b)));
    if (brush) FillRect(dc, &band, brush.get());
}

Result<PopupLayout> layout_with(RendererResources& resources, std::span<const PopupRow> rows,
                                const ShortcutBindings& bindings, double scale) {
    const MeasureText measure = [&](std::string_view text, double size, bool strong) {
        return text_width(resources, text, size, strong);
    };
    return layout_popup_rows(rows, bindings, scale, current_language(), measure);
}

std::optional<std::size_t> row_of_command(std::span<const PopupRow> rows, AppCommand command) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].command == command) return i;
    return std::nullopt;
}

}  // namespace

Result<RendererResources*> menu_resources() {
    return g_menu_resources.get_or_make([] { return create_renderer_resources(true, false); });
}

void release_menu_resources() noexcept { g_menu_resources.reset(); }

Result<PopupLayout> layout_popup(std::span<const PopupRow> rows, const ShortcutBindings& bindings, double scale) {
    auto resources = menu_resources();
    if (!resources) return std::move(resources).failure();
    return layout_with(**resources, rows, bindings, scale);
}

Status paint_popup_rows(const PopupLayout& layout, HDC dc, int x, int y, const ShortcutBindings& bindings,
                        std::optional<std::size_t> hover, const PopupRowState& row_state, double scale) {
    auto resources = menu_resources();
    if (!resources) return std::move(resources).failure();
    const std::int32_t pad = layout.tops.front(), bottom = layout.tops.back();
    fill_band(dc, x, y, x + layout.width, y + pad);
    fill_band(dc, x, y + bottom, x + layout.width, y + bottom + pad);
    ID2D1DCRenderTarget* target = (*resources)->dc_target.get();
    for (std::size_t i = 0; i < layout.rows.size(); ++i) {
        const RECT rect{x, y + layout.tops[i], x + layout.width, y + layout.tops[i + 1]};
        const HRESULT bound = target->BindDC(dc, &rect);
        if (FAILED(bound)) return win::hr_failure(bound, "BindDC");
        target->BeginDraw();
        target->SetTransform(D2D1::Matrix3x2F::Identity());
        auto painter = make_painter(**resources, target);
        Status drawn = painter ? ok_status() : Status(painter.failure());
        if (painter) {
            RowPaint row{*painter,
                         layout.rows[i],
                         bindings,
                         row_state,
                         scale,
                         layout.width / scale,
                         (layout.tops[i + 1] - layout.tops[i]) / scale,
                         layout.caps_widths[i],
                         hover == i};
            drawn = paint_row(row);
        }
        const HRESULT ended = target->EndDraw();
        GLIM_TRY(drawn);
        if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
    }
    return ok_status();
}

Result<BgraImage> paint_tray_popup(AppCommand command, const ShortcutBindings& bindings,
                                   const PopupRowState& row_state) {
    struct Release {
        ~Release() { release_menu_resources(); }
    } release;
    const auto main_rows = main_popup_rows();
    auto main = layout_popup(main_rows, bindings, 1.0);
    if (!main) return std::move(main).failure();
    const bool with_submenu = command == APP_COMMAND_LANGUAGE_MENU;
    auto sub = layout_popup(with_submenu ? language_popup_rows() : std::span<const PopupRow>{}, bindings, 1.0);
    if (!sub) return std::move(sub).failure();
    std::optional<std::size_t> hover;
    if (command == 0)
        hover = 15;  // the separator, for a picture of the plain menu
    else
        hover = row_of_command(main_rows, command);
    const int sub_top = with_submenu ? main->tops[kLanguageRow] - sub->tops.front() : 0;
    const int width = main->width + (with_submenu ? sub->width : 0);
    const int height = std::max(popup_height(*main), with_submenu ? sub_top + popup_height(*sub) : 0);
    auto canvas = DibCanvas::make(width, height);
    if (!canvas) return std::move(canvas).failure();
    GLIM_TRY(paint_popup_rows(*main, canvas->dc(), 0, 0, bindings, hover, row_state, 1.0));
    if (with_submenu) GLIM_TRY(paint_popup_rows(*sub, canvas->dc(), main->width, sub_top, bindings, {}, {}, 1.0));
    return canvas->pixels();
}

Result<DibCanvas> DibCanvas::make(int width, int height) {
    if (width <= 0 || height <= 0) return invalid_input("An empty menu picture");
    DibCanvas canvas;
    win::WindowDc screen = win::WindowDc::of(nullptr);
    if (!screen) return win::win32_failure("GetDC");
    canvas.dc_.reset(CreateCompatibleDC(screen.get()));
    if (!canvas.dc_) return win::win32_failure("CreateCompatibleDC");
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    canvas.bitmap_.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &canvas.bits_, nullptr, 0));
    if (!canvas.bitmap_ || !canvas.bits_) return win::win32_failure("CreateDIBSection");
    canvas.selected_ = win::SelectedObject(canvas.dc_.get(), canvas.bitmap_.get());
    canvas.width_ = width;
    canvas.height_ = height;
    return canvas;
}

BgraImage DibCanvas::pixels() const {
    GdiFlush();
    BgraImage image{std::vector<std::uint8_t>(std::size_t(width_) * height_ * 4), static_cast<std::uint32_t>(width_),
                    static_cast<std::uint32_t>(height_)};
    std::memcpy(image.pixels.data(), bits_, image.pixels.size());
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
    return image;
}

}  // namespace glimmerly
