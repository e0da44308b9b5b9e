#include "ui/capture/text_entry_window.h"

#include "app/render/painting_kit.h"
#include "app/win/failure.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {

namespace {

// Several lines, Enter starting a new one; the control never scrolls out of
// its text, since it is never seen.
constexpr DWORD kTextBoxStyle =
    WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;

}  // namespace

TextEntry::TextEntry(HWND window, EditorState& state, std::function<void(const Failure&)> refused)
    : window_(window), state_(state), refused_(std::move(refused)) {}

TextEntry::~TextEntry() { close(); }

TextBoxView* TextEntry::view() const {
    if (!edit_) return nullptr;
    auto& box = editor_window_part(state_).text_box;
    return box ? &*box : nullptr;
}

const TextBox* TextEntry::box() const {
    const TextBoxView* v = view();
    return v ? &v->box : nullptr;
}

void TextEntry::changed() const { InvalidateRect(window_, nullptr, FALSE); }

void TextEntry::close() {
    if (!edit_) return;
    editor_window_part(state_).text_box.reset();
    edit_.reset();
}

Status TextEntry::open_at(const TextEntryStart& start) {
    const TextBoxOpening opening = open_text_box_at(state_, start.at, start.label ? Tool::Label : Tool::Text);
    const EditPlacement place = text_box_edit_placement(state_, opening.box);
    const EditSetup setup{kTextBoxStyle, win::to_wide(opening.text), place, EditFont::Annotation,
                          opening.box.size, kTextBoxUnitLimit};
    auto edit = TypingEdit::create(window_, setup, {[this] { changed(); }, refused_});
    if (!edit) return std::move(edit).failure();
    close();
    edit_ = std::move(*edit);
    editor_window_part(state_).text_box =
        TextBoxView{edit_->get(), opening.box, static_cast<float>(place.width), false};
    SetFocus(edit_->get());
    // Editing a text: the caret goes where the press was. Without a layout
    // it stays after the text.
    if (opening.box.target) (void)press(start.at, {});
    changed();
    return ok_status();
}

Result<TextBoxHit> TextEntry::hit(Point at) const {
    const TextBoxView* v = view();
    if (!v) return invalid_input("No text box is open");
    auto resources = typing_resources(state_);
    if (!resources) return std::move(resources).failure();
    return text_box_hit_test(**resources, *v, at);
}

Result<bool> TextEntry::press(Point at, PointerModifiers modifiers) {
    TextBoxView* v = view();
    if (!v) return false;
    auto where = hit(at);
    if (!where) return std::move(where).failure();
    const auto range = press_in_text_box(v->box, where->index, where->inside, modifiers.shift,
                                         edit_->selection().first);
    if (!range) return false;
    SetFocus(edit_->get());
    edit_->select(range->anchor, range->caret);
    return true;
}

void TextEntry::select_to(Point at) {
    TextBoxView* v = view();
    if (!v || !v->box.select_anchor) return;
    const auto where = hit(at);
    if (!where) return;  // the selection stays as it was
    if (const auto range = drag_text_selection(v->box, where->index)) edit_->select(range->anchor, range->caret);
}

void TextEntry::end_selection() {
    if (TextBoxView* v = view()) end_text_selection(v->box);
}

void TextEntry::drag_label_to(Point at) {
    TextBoxView* v = view();
    if (!v || !drag_label_box(state_, v->box, at)) return;
    const EditPlacement place = text_box_edit_placement(state_, v->box);
    v->visible_width = static_cast<float>(place.width);
    // Where the control stands only matters to input methods placing
    // their windows; a failed move changes nothing else.
    (void)edit_->place(place);
    changed();
}

void TextEntry::end_label_drag() {
    if (TextBoxView* v = view()) v->box.label_drag.reset();
    changed();
}

TypedText TextEntry::typed() const {
    const TextBoxView* v = view();
    if (!v) return {{}, invalid_input("No text box is open")};
    TypedText typed{text_box_stored_text(edit_->text()), Size{}};
    auto resources = typing_resources(state_);
    if (!resources) {
        typed.measured = std::move(resources).failure();
        return typed;
    }
    const TextBox& box = v->box;
    typed.measured = measure_annotation_text(**resources, typed.text, box.size, box.label.kind == LabelKind::Wrap,
                                             box.label.wrap_width);
    return typed;
}

Result<TextCommit> TextEntry::commit(TypedText typed) {
    TextBoxView* v = view();
    if (!v) return TextCommit{};
    auto done = commit_text_box(state_, v->box, std::move(typed.text), typed.measured);
    if (!done) return done;
    state_.automatic_selection = done->selected;
    const bool selecting = v->box.select_anchor.has_value();
    close();
    if (selecting && GetCapture() == window_) ReleaseCapture();
    SetFocus(window_);
    changed();
    return done;
}

void TextEntry::set_colour(Rgb colour) {
    if (TextBoxView* v = view()) v->box.color = colour;
    changed();
}

void TextEntry::set_ink(std::optional<Rgb> ink) {
    if (TextBoxView* v = view()) v->box.ink = ink;
    changed();
}

Status TextEntry::set_size(double size) {
    TextBoxView* v = view();
    if (!v) return ok_status();
    GLIM_TRY(edit_->set_font(EditFont::Annotation, size));
    apply_text_box_size(state_, v->box, static_cast<float>(size));
    changed();
    return ok_status();
}

Result<Size> TextEntry::measure(const SceneObject& object, double size) const {
    const TextPayload* text = as_text(object);
    if (!text) return invalid_input("Only a text object has letters to measure");
    auto resources = typing_resources(state_);
    if (!resources) return std::move(resources).failure();
    return measure_annotation_text(**resources, text->text, size, text->label.kind == LabelKind::Wrap,
                                   text->label.wrap_width);
}

}  // namespace glimmerly
