#include "ui/caret/text_box_painting.h"

#include <algorithm>
#include <numbers>
#include <string>
#include <vector>

#include "app/render/saved_transform.h"
#include "core/editor/chrome_math.h"

namespace glimmerly {

namespace {

using win::ComPtr;

// A layout wide enough that typed text never wraps: the box scrolls instead.
constexpr float kUnwrappedWidth = 1.0e6f;

std::u16string read_edit_text(HWND edit) {
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(read, 0)));
    return {text.begin(), text.end()};
}

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
Result<TextBoxLayout> create_text_box_layout(RendererResources& resources, const TextBoxView& box,
                                             std::u16string_view text) {
    auto format = annotation_text_format(resources.dwrite_factory.get(), box.font_size);
    if (!format) return std::move(format).failure();
    auto layout = unwrapped_layout(resources.dwrite_factory.get(), format->get(), text);
    if (!layout) return std::move(layout).failure();
    return TextBoxLayout{std::move(*format), std::move(*layout)};
}

bool breaks_line(char16_t c) { return c == u'\r' || c == u'\n'; }

struct Hit {
    double x = 0.0, y = 0.0, height = 0.0;
};

// Where text positions lie in the layout. DirectWrite's own hit tests come
// first; where the platform has none (Wine answers E_NOTIMPL) the box
// measures instead: a position's x is the width of its line's text before
// it, and every line is as high as the layout's first.
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
        const Line line = line_of(index);
        auto left = prefix_width(line.start, index);
        if (!left) return std::move(left).failure();
        auto height = line_height();
        if (!height) return std::move(height).failure();
        return Hit{*left, line.number * *height, *height};
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
            const Line line = line_of(at);
            auto left = position(at);
            if (!left) return std::move(left).failure();
            auto right = prefix_width(line.start, std::min(to, line.end));
            if (!right) return std::move(right).failure();
            out.push_back({left->x, left->y, *right, left->y + left->height});
            at = next_line_start(line.end);
        }
        return out;
    }

private:
    struct Line {
        std::uint32_t number = 0;
        std::uint32_t start = 0;
        std::uint32_t end = 0;  // where its break, or the text, ends it
    };
    std::uint32_t size() const { return static_cast<std::uint32_t>(text_.size()); }
    // A CR LF pair is one break, as the EDIT control writes it.
    std::uint32_t next_line_start(std::uint32_t end) const {
        if (end + 1 < size() && text_[end] == u'\r' && text_[end + 1] == u'\n') return end + 2;
        return std::min(end + 1, size());
    }
    Line line_of(std::uint32_t index) const {
        Line line;
        for (;;) {
            line.end = line.start;
            while (line.end < size() && !breaks_line(text_[line.end])) ++line.end;
            if (index <= line.end || line.end >= size()) return line;
            line.start = next_line_start(line.end);
            ++line.number;
        }
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
    Result<double> line_height() {
        DWRITE_LINE_METRICS first{};
        UINT32 count = 0;
        const HRESULT hr = layout_.layout->GetLineMetrics(&first, 1, &count);
        if (SUCCEEDED(hr) || hr == E_NOT_SUFFICIENT_BUFFER) return double{first.height};
        return win::hr_failure(hr, "GetLineMetrics");
    }

    RendererResources& resources_;
    const TextBoxLayout& layout_;
    std::u16string_view text_;
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

Status draw_text_object(Painter& painter, TextBoxView& box, CaretState& caret, const TextBoxPass& pass) {
    const std::u16string text = read_edit_text(box.edit);
    auto layout = create_text_box_layout(painter.resources, box, text);
    if (!layout) return std::move(layout).failure();
    IDWriteTextLayout* l = layout->layout.get();
    DWRITE_TEXT_METRICS metrics{};
    if (const HRESULT hr = l->GetMetrics(&metrics); FAILED(hr)) return win::hr_failure(hr, "GetMetrics (text box)");
    TextHits hits(painter.resources, *layout, text);
    const EditSelection selection = edit_selection(box.edit, text.size());
    const double w = caret_width(box.font_size, pass.unit);

    if (pass.update_scroll) {
        std::optional<double> target_x;
        if (const auto target = scroll_target(selection.start, selection.end, box.scroll)) {
            auto hit = hits.position(*target);
            if (!hit) return std::move(hit).failure();
            target_x = hit->x;
        }
        box.scroll = {selection.start, selection.end,
                      updated_scroll(box.scroll.scroll, target_x, w, metrics.widthIncludingTrailingWhitespace,
                                     box.visible_width)};
    }

    SavedTransform saved(painter.target);
    const Point at = box.anchor;
    const Size frame{metrics.widthIncludingTrailingWhitespace, metrics.height};
    const auto degrees = static_cast<float>(box.rotation * (180.0 / std::numbers::pi));
    const D2D1_POINT_2F centre = d2d_point({at.x + frame.w / 2.0, at.y + frame.h / 2.0});
    painter.target->SetTransform(D2D1::Matrix3x2F::Translation(-box.scroll.scroll, 0.0f) *
                                 D2D1::Matrix3x2F::Rotation(degrees, centre) * saved.matrix());

    Rgb letters = box.colour;
    if (box.kind != TextBoxKind::Text) {
        const LabelBox label = label_box(at, frame, box.font_size);
        fill_rounded_rect(painter, label.box, label.radius, PaintColour::opaque(box.colour));
        letters = box.ink.value_or(contrast_color(box.colour));
    }
    if (selection.start != selection.end) GLIM_TRY(fill_selection(painter, hits, selection, at));

    painter.fill_record.reset();
    painter.brush->SetColor(d2d_colour(letters));
    painter.target->DrawTextLayout(d2d_point(at), l, painter.brush.get());

    const CaretKey key{reinterpret_cast<std::uintptr_t>(box.edit), selection.end,
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
