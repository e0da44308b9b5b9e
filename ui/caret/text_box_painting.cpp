#include "ui/caret/text_box_painting.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "app/render/saved_transform.h"
#include "core/base/utf.h"
#include "core/editor/chrome_math.h"

namespace glimmerly {

namespace {

using win::ComPtr;

// A layout wide enough that typed text never wraps unless it makes a
// wrapping label: the box scrolls instead.
constexpr float kUnwrappedWidth = 1.0e6f;

struct EditSelection {
    std::uint32_t start = 0;
    std::uint32_t end = 0;  // the caret
};
EditSelection edit_selection(HWND edit, std::size_t length) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto cap = [&](DWORD v) { return static_cast<std::uint32_t>(std::min<std::size_t>(v, length)); };
    return {cap(start), cap(end)};
}

Result<ComPtr<IDWriteTextLayout>> unwrapped_layout(IDWriteFactory* factory, IDWriteTextFormat* format,
                                                   std::u16string_view text) {
    ComPtr<IDWriteTextLayout> layout;
    GLIM_TRY(made(factory->CreateTextLayout(reinterpret_cast<const wchar_t*>(text.data()),
                                            static_cast<UINT32>(text.size()), format, kUnwrappedWidth,
                                            kUnwrappedWidth, layout.put()),
                  layout, "CreateTextLayout (text box)"));
    layout->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    return layout;
}

struct TextBoxLayout {
    ComPtr<IDWriteTextFormat> format;
    ComPtr<IDWriteTextLayout> layout;
};

Result<Size> layout_size(IDWriteTextLayout* layout) {
    DWRITE_TEXT_METRICS metrics{};
    if (const HRESULT hr = layout->GetMetrics(&metrics); FAILED(hr))
        return win::hr_failure(hr, "GetMetrics (text box)");
    return Size{metrics.widthIncludingTrailingWhitespace, metrics.height};
}

// What the box shows around its text: a label keeps the box the user drew.
Size shown_frame(const TextBoxView& box, std::u16string_view text, Size measured) {
    return text_box_frame(box.box, text_box_stored_text(text), measured);
}

// A label's lines are centred in its box, broken at its width when it wraps,
// as the committed label draws them: nothing moves when the entry ends.
Status lay_out_as_label(IDWriteTextLayout* layout, const TextBoxView& box, std::u16string_view text) {
    const bool wrap = box.box.label.kind == LabelKind::Wrap;
    double width = box.box.label.wrap_width;
    if (!wrap) {
        auto measured = layout_size(layout);
        if (!measured) return std::move(measured).failure();
        width = shown_frame(box, text, *measured).w;
    }
    HRESULT hr = layout->SetMaxWidth(static_cast<FLOAT>(width));
    if (SUCCEEDED(hr) && wrap) hr = layout->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);
    if (SUCCEEDED(hr)) hr = layout->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    if (FAILED(hr)) return win::hr_failure(hr, "IDWriteTextLayout (label)");
    return ok_status();
}

// Texts in the annotation font; the size fields, typed over the chrome, in
// the interface font they are measured with.
Result<TextBoxLayout> create_text_box_layout(RendererResources& resources, const TextBoxView& box,
                                             std::u16string_view text) {
    auto format = box.window_space ? ui_text_format(resources, box.box.size, LANGUAGE_ENGLISH)
                                   : annotation_text_format(resources.dwrite_factory.get(), box.box.size);
    if (!format) return std::move(format).failure();
    auto layout = unwrapped_layout(resources.dwrite_factory.get(), format->get(), text);
    if (!layout) return std::move(layout).failure();
    if (!box.window_space && box.box.makes_label()) GLIM_TRY(lay_out_as_label(layout->get(), box, text));
    return TextBoxLayout{std::move(*format), std::move(*layout)};
}

struct Hit {
    double x = 0.0, y = 0.0, height = 0.0;
};

// Where text positions lie in the layout. DirectWrite's own hit tests come
// first; where the platform has none (Wine answers E_NOTIMPL) the box
// measures instead, on the lines as the layout broke and aligned them: a
// position's x is where its line starts plus the width of the line's text
// before it.
class TextHits {
public:
    TextHits(RendererResources& resources, const TextBoxLayout& layout, std::u16string_view text)
        : resources_(resources), layout_(layout), text_(text) {}

    Result<Hit> position(std::uint32_t index) {
        FLOAT x = 0, y = 0;
        DWRITE_HIT_TEST_METRICS metrics{};
        const HRESULT hr = layout_.layout->HitTestTextPosition(index, FALSE, &x, &y, &metrics);
        if (SUCCEEDED(hr)) return Hit{x, y, metrics.height};
        if (hr != E_NOTIMPL) return win::hr_failure(hr, "HitTestTextPosition");
        GLIM_TRY(read_lines());
        const Line& line = line_of(index);
        auto left = prefix_width(line.start, std::min(index, line.end));
        if (!left) return std::move(left).failure();
        return Hit{line.left + *left, line.top, line.height};
    }

    // The rectangles that cover the range, one per line.
    Result<std::vector<Box>> range(std::uint32_t from, std::uint32_t to) {
        UINT32 count = 0;
        HRESULT hr = layout_.layout->HitTestTextRange(from, to - from, 0, 0, nullptr, 0, &count);
        std::vector<Box> out;
        if (hr != E_NOTIMPL) {
            if (FAILED(hr) && hr != E_NOT_SUFFICIENT_BUFFER) return win::hr_failure(hr, "HitTestTextRange");
            std::vector<DWRITE_HIT_TEST_METRICS> ranges(count);
            hr = layout_.layout->HitTestTextRange(from, to - from, 0, 0, ranges.data(), count, &count);
            if (FAILED(hr)) return win::hr_failure(hr, "HitTestTextRange");
            for (UINT32 i = 0; i < count; ++i)
                out.push_back(box_at(ranges[i].left, ranges[i].top, ranges[i].width, ranges[i].height));
            return out;
        }
        for (std::uint32_t at = from; at < to;) {
            auto left = position(at);
            if (!left) return std::move(left).failure();
            const Line& line = line_of(at);
            auto right = prefix_width(line.start, std::min(to, line.end));
            if (!right) return std::move(right).failure();
            out.push_back({left->x, left->y, line.left + *right, left->y + left->height});
            at = std::max(line.next, at + 1);
        }
        return out;
    }

    // The character under a point of the layout. Where the platform has no
    // hit test of its own the box measures: the line by the lines' heights,
    // the character by halving the line's text.
    Result<TextBoxHit> point(Point p) {
        BOOL trailing = FALSE, inside = FALSE;
        DWRITE_HIT_TEST_METRICS metrics{};
        const HRESULT hr = layout_.layout->HitTestPoint(static_cast<FLOAT>(p.x), static_cast<FLOAT>(p.y), &trailing,
                                                        &inside, &metrics);
        if (SUCCEEDED(hr))
            return TextBoxHit{text_box_hit_index(metrics.textPosition, metrics.length, trailing != FALSE),
                              inside != FALSE};
        if (hr != E_NOTIMPL) return win::hr_failure(hr, "HitTestPoint");
        GLIM_TRY(read_lines());
        const auto below = std::find_if(lines_.begin(), lines_.end(),
                                        [&](const Line& l) { return p.y < l.top + l.height; });
        const Line& line = below == lines_.end() ? lines_.back() : *below;
        const double x = p.x - line.left;
        auto width = prefix_width(line.start, line.end);
        if (!width) return std::move(width).failure();
        const bool on_text = p.y >= 0.0 && p.y < line.top + line.height && x >= 0.0 && x < *width;

        std::uint32_t lo = line.start, hi = line.end;  // the first character whose right edge passes x
        while (lo < hi) {
            const std::uint32_t mid = lo + (hi - lo) / 2;
            auto right = prefix_width(line.start, mid + 1);
            if (!right) return std::move(right).failure();
            if (*right <= x) lo = mid + 1;
            else hi = mid;
        }
        if (lo >= line.end) return TextBoxHit{line.end, on_text};
        // A surrogate pair is one character: never step into it.
        const std::u16string_view in_line = text_.substr(line.start, line.end - line.start);
        const auto whole = [&](std::uint32_t end) {
            return line.start + static_cast<std::uint32_t>(utf16_prefix(in_line, end - line.start).size());
        };
        lo = whole(lo);
        const std::uint32_t next = whole(lo + 1) == lo + 1 ? lo + 1 : lo + 2;
        auto left = prefix_width(line.start, lo);
        if (!left) return std::move(left).failure();
        auto right = prefix_width(line.start, next);
        if (!right) return std::move(right).failure();
        return TextBoxHit{x >= (*left + *right) / 2.0 ? next : lo, on_text};
    }

private:
    // One line as the layout broke it, in UTF-16 units of the text.
    struct Line {
        std::uint32_t start = 0;
        std::uint32_t end = 0;   // before its line break
        std::uint32_t next = 0;  // where the next line starts
        double top = 0.0, height = 0.0;
        double left = 0.0;  // where the layout's alignment starts it
    };
    std::uint32_t size() const { return static_cast<std::uint32_t>(text_.size()); }

    // A position at a wrapped line's end is the next line's start, as the
    // caret shows it; one inside a line break belongs to the line it ends.
    const Line& line_of(std::uint32_t index) const {
        for (const Line& line : lines_)
            if (index < line.next) return line;
        return lines_.back();
    }

    Status read_lines() {
        if (!lines_.empty()) return ok_status();
        UINT32 count = 0;
        HRESULT hr = layout_.layout->GetLineMetrics(nullptr, 0, &count);
        if (FAILED(hr) && hr != E_NOT_SUFFICIENT_BUFFER) return win::hr_failure(hr, "GetLineMetrics");
        std::vector<DWRITE_LINE_METRICS> metrics(count);
        hr = layout_.layout->GetLineMetrics(metrics.data(), count, &count);
        if (FAILED(hr)) return win::hr_failure(hr, "GetLineMetrics");
        metrics.resize(std::min<std::size_t>(count, metrics.size()));
        Line line;
        for (const DWRITE_LINE_METRICS& m : metrics) {
            line.next = std::min(size(), line.start + m.length);
            line.end = line.next - std::min(m.newlineLength, line.next - line.start);
            line.height = m.height;
            const std::uint32_t ink_end = line.next - std::min(m.trailingWhitespaceLength, line.next - line.start);
            auto left = line_left(line.start, ink_end);
            if (!left) return std::move(left).failure();
            line.left = *left;
            lines_.push_back(line);
            line.start = line.next;
            line.top += m.height;
        }
        if (lines_.empty()) lines_.push_back({0, size(), size(), 0.0, 0.0, 0.0});
        return ok_status();
    }

    // Where the layout's alignment starts a line of this text: a layout of
    // that text alone, as wide as the whole one, says.
    Result<double> line_left(std::uint32_t start, std::uint32_t end) {
        const DWRITE_TEXT_ALIGNMENT alignment = layout_.layout->GetTextAlignment();
        if (alignment == DWRITE_TEXT_ALIGNMENT_LEADING) return 0.0;
        auto alone =
            unwrapped_layout(resources_.dwrite_factory.get(), layout_.format.get(), text_.substr(start, end - start));
        if (!alone) return std::move(alone).failure();
        HRESULT hr = (*alone)->SetMaxWidth(layout_.layout->GetMaxWidth());
        if (SUCCEEDED(hr)) hr = (*alone)->SetTextAlignment(alignment);
        DWRITE_TEXT_METRICS metrics{};
        if (SUCCEEDED(hr)) hr = (*alone)->GetMetrics(&metrics);
        if (FAILED(hr)) return win::hr_failure(hr, "GetMetrics (line)");
        return double{metrics.left};
    }

    Result<double> prefix_width(std::uint32_t start, std::uint32_t end) {
        if (end <= start) return 0.0;
        auto layout =
            unwrapped_layout(resources_.dwrite_factory.get(), layout_.format.get(), text_.substr(start, end - start));
        if (!layout) return std::move(layout).failure();
        DWRITE_TEXT_METRICS metrics{};
        if (const HRESULT hr = (*layout)->GetMetrics(&metrics); FAILED(hr)) return win::hr_failure(hr, "GetMetrics");
        return double{metrics.widthIncludingTrailingWhitespace};
    }

    RendererResources& resources_;
    const TextBoxLayout& layout_;
    std::u16string_view text_;
    std::vector<Line> lines_;  // read at the first measuring
};

Status fill_selection(Painter& painter, TextHits& hits, EditSelection selection, Point at) {
    auto rects = hits.range(std::min(selection.start, selection.end), std::max(selection.start, selection.end));
    if (!rects) return std::move(rects).failure();
    const PaintColour highlight{kTextSelectionOpacity, kTextSelectionHighlight.r, kTextSelectionHighlight.g,
                                kTextSelectionHighlight.b};
    for (const Box& r : *rects)
        GLIM_TRY(paint_path(painter, {at.x + r.left, at.y + r.top, at.x + r.right, at.y + r.bottom}, {}, highlight));
    return ok_status();
}

}  // namespace

std::optional<ChromeClock::duration> system_caret_period() {
    const UINT ms = GetCaretBlinkTime();
    if (ms == 0 || ms == INFINITE) return std::nullopt;
    return std::chrono::milliseconds(ms);
}

std::u16string read_edit_text(HWND edit) {
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(read, 0)));
    return {text.begin(), text.end()};
}

Result<Size> measure_text_box(RendererResources& resources, const TextBoxView& box, std::u16string_view text) {
    auto layout = create_text_box_layout(resources, box, text);
    if (!layout) return std::move(layout).failure();
    return layout_size(layout->layout.get());
}

Result<TextBoxHit> text_box_hit_test(RendererResources& resources, const TextBoxView& box, Point point) {
    const std::u16string text = read_edit_text(box.edit);
    auto layout = create_text_box_layout(resources, box, text);
    if (!layout) return std::move(layout).failure();
    auto measured = layout_size(layout->layout.get());
    if (!measured) return std::move(measured).failure();
    const Point at = text_box_layout_point(box.box, shown_frame(box, text, *measured), point);
    TextHits hits(resources, *layout, text);
    return hits.point({at.x + box.box.scroll.scroll, at.y});
}

Status draw_text_object(Painter& painter, TextBoxView& view, CaretState& caret, const TextBoxPass& pass) {
    TextBox& box = view.box;
    const std::u16string text = read_edit_text(view.edit);
    auto layout = create_text_box_layout(painter.resources, view, text);
    if (!layout) return std::move(layout).failure();
    IDWriteTextLayout* l = layout->layout.get();
    auto measured = layout_size(l);
    if (!measured) return std::move(measured).failure();
    TextHits hits(painter.resources, *layout, text);
    const EditSelection selection = edit_selection(view.edit, text.size());
    const double w = caret_width(box.size, pass.unit);

    if (pass.update_scroll) {
        std::optional<double> target_x;
        if (const auto target = scroll_target(selection.start, selection.end, box.scroll)) {
            auto hit = hits.position(*target);
            if (!hit) return std::move(hit).failure();
            target_x = hit->x;
        }
        box.scroll = {selection.start, selection.end,
                      updated_scroll(box.scroll.scroll, target_x, w, measured->w, view.visible_width)};
    }

    SavedTransform saved(painter.target);
    const Point at = box.at;
    const Size frame = shown_frame(view, text, *measured);
    const auto degrees = static_cast<float>(box.rotation * (180.0 / std::numbers::pi));
    const D2D1_POINT_2F centre = d2d_point({at.x + frame.w / 2.0, at.y + frame.h / 2.0});
    painter.target->SetTransform(D2D1::Matrix3x2F::Translation(-box.scroll.scroll, 0.0f) *
                                 rotation_matrix(painter.resources, degrees, centre) * saved.matrix());

    Rgb letters = box.color;
    if (box.makes_label()) {
        const LabelBox label = label_box(at, frame, box.size);
        fill_rounded_rect(painter, label.box, label.radius, PaintColour::opaque(box.color));
        letters = box.ink.value_or(contrast_color(box.color));
    }
    if (selection.start != selection.end) GLIM_TRY(fill_selection(painter, hits, selection, at));

    painter.fill_record.reset();
    painter.brush->SetColor(d2d_colour(letters));
    painter.target->DrawTextLayout(d2d_point(at), l, painter.brush.get());

    const CaretKey key{reinterpret_cast<std::uintptr_t>(view.edit), selection.end,
                       static_cast<std::uint32_t>(text.size())};
    if (pass.draw_caret && selection.start == selection.end && caret_shown(caret.blink, key, pass.now, caret.period)) {
        auto hit = hits.position(selection.end);
        if (!hit) return std::move(hit).failure();
        const double x = at.x + caret_line_x(text, selection.end, hit->x, w);
        painter.target->DrawLine(d2d_point({x, at.y + hit->y}), d2d_point({x, at.y + hit->y + hit->height}),
                                 painter.brush.get(), static_cast<float>(w));
    }
    return ok_status();
}

}  // namespace glimmerly
