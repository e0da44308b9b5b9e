#include "ui/capture/dimension_fields_window.h"

#include <string>
#include <utility>

#include "app/win/failure.h"
#include "core/editor/selection_geometry.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {

namespace {

constexpr DWORD kFieldStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;

EditPlacement placement_of(const Box& rect) {
    return {round_to_i32(rect.left), round_to_i32(rect.top), round_to_i32(rect.right - rect.left),
            round_to_i32(rect.bottom - rect.top)};
}

}  // namespace

DimensionFieldsWindow::DimensionFieldsWindow(HWND window, EditorState& state) : window_(window), state_(state) {}

DimensionFieldsWindow::~DimensionFieldsWindow() { close(); }

DimensionFocus DimensionFieldsWindow::focus() const {
    const HWND focused = GetFocus();
    if (!open() || !focused) return DimensionFocus::Elsewhere;
    if (focused == edits_[0]->get()) return DimensionFocus::Width;
    if (focused == edits_[1]->get()) return DimensionFocus::Height;
    return DimensionFocus::Elsewhere;
}

HWND DimensionFieldsWindow::focus_field() const {
    if (!open()) return nullptr;
    return edits_[focus() == DimensionFocus::Height ? 1 : 0]->get();
}

Status DimensionFieldsWindow::open_fields() {
    const auto opening = open_dimension_fields(state_);
    if (!opening) return ok_status();
    close();
    const std::wstring texts[] = {win::to_wide(opening->width_text), win::to_wide(opening->height_text)};
    std::array<std::unique_ptr<TypingEdit>, 2> made;
    for (std::size_t i = 0; i < made.size(); ++i) {
        const EditSetup setup{kFieldStyle, texts[i], {}, EditFont::Interface, opening->fields.font_size,
                              kDimensionFieldLimit};
        // The panel grows and shrinks with what is typed.
        auto edit = TypingEdit::create(window_, setup, {[this] { (void)lay_out(); }, {}});
        if (!edit) return std::move(edit).failure();  // a width field made already goes with `made`
        made[i] = std::move(*edit);
    }
    edits_ = std::move(made);
    editor_window_part(state_).dimension_fields =
        DimensionFieldsPart{opening->fields, {edits_[0]->get(), edits_[1]->get()}};
    if (Status laid = lay_out(); !laid) {
        close();
        return laid;
    }
    SetFocus(edits_[0]->get());
    edits_[0]->select_all();
    return ok_status();
}

Status DimensionFieldsWindow::lay_out() {
    InvalidateRect(window_, nullptr, FALSE);
    EditorWindowPart& part = editor_window_part(state_);
    if (!open() || !part.dimension_fields) return ok_status();  // still being made
    auto resources = typing_resources(state_);
    if (!resources) return std::move(resources).failure();
    std::array<double, 2> widths{};
    for (std::size_t i = 0; i < widths.size(); ++i) {
        auto measured = measure_text_box(**resources, dimension_field_view(*part.dimension_fields, i, {}),
                                         edits_[i]->text());
        if (!measured) return std::move(measured).failure();
        widths[i] = measured->w;
    }
    const auto rects = store_dimension_layout(state_, &part.dimension_fields->fields, widths);
    if (!rects) return ok_status();
    GLIM_TRY(edits_[0]->place(placement_of(rects->width)));
    return edits_[1]->place(placement_of(rects->height));
}

void DimensionFieldsWindow::close() {
    if (!open()) return;
    editor_window_part(state_).dimension_fields.reset();
    for (auto& edit : edits_) edit.reset();
    selecting_.reset();
    // The panel shows the size label again, measured before the next paint.
    state_.size_panel_widths = std::monostate{};
    InvalidateRect(window_, nullptr, FALSE);
}

bool DimensionFieldsWindow::take_key(VirtualKey key) {
    const DimensionKey answer = dimension_field_key(open(), key, focus());
    switch (answer) {
        case DimensionKey::PassOn: return false;
        case DimensionKey::FocusWidth:
        case DimensionKey::FocusHeight: {
            const TypingEdit& target = *edits_[answer == DimensionKey::FocusHeight ? 1 : 0];
            SetFocus(target.get());
            target.select_all();
            return true;
        }
        case DimensionKey::Close:
            close();
            SetFocus(window_);
            return true;
        case DimensionKey::Commit: (void)commit(true); return true;
    }
    return false;
}

bool DimensionFieldsWindow::commit(bool apply) {
    EditorWindowPart& part = editor_window_part(state_);
    if (!open() || !part.dimension_fields) return true;
    const std::u16string width = edits_[0]->text().substr(0, kDimensionFieldLimit);
    const std::u16string height = edits_[1]->text().substr(0, kDimensionFieldLimit);
    const DimensionCommit done =
        commit_dimension_fields(state_, &part.dimension_fields->fields, width, height, apply, focus());
    if (done.closed()) {
        close();
        SetFocus(window_);
        return true;
    }
    if (done.focus_width) SetFocus(edits_[0]->get());
    InvalidateRect(window_, nullptr, FALSE);
    return false;
}

std::optional<std::uint32_t> DimensionFieldsWindow::hit(std::size_t field, Point point) const {
    const EditorWindowPart& part = editor_window_part(state_);
    const auto panel = place_size_panel(state_);
    auto resources = typing_resources(state_);
    if (!part.dimension_fields || !panel || !panel->fields || !resources) return std::nullopt;
    const Box& rect = field == 0 ? panel->fields->width : panel->fields->height;
    const auto found = text_box_hit_test(**resources, dimension_field_view(*part.dimension_fields, field, rect), point);
    if (!found) return std::nullopt;
    return found->index;
}

void DimensionFieldsWindow::press(bool height, Point point) {
    if (!open()) return;
    const std::size_t field = height ? 1 : 0;
    const TypingEdit& edit = *edits_[field];
    SetFocus(edit.get());
    // Without a layout the caret goes after the text.
    const std::uint32_t at = hit(field, point).value_or(static_cast<std::uint32_t>(edit.text().size()));
    edit.select(at, at);
    selecting_ = MouseSelection{field, at};
}

void DimensionFieldsWindow::drag_selection(Point point) {
    if (!selecting_ || !open()) return;
    if (const auto at = hit(selecting_->field, point)) edits_[selecting_->field]->select(selecting_->anchor, *at);
}

bool DimensionFieldsWindow::end_selection() { return std::exchange(selecting_, std::nullopt).has_value(); }

}  // namespace glimmerly
