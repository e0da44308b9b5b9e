#pragma once
// The text box on the editor window: the hidden multiline EDIT a text or
// label is typed into, from the press that opens it to the commit that turns
// it into a scene object. The one record of the entry (core's `TextBox`)
// lives in the window part's `TextBoxView`, where the frame painter reads it
// with the control's text and selection; this class owns the control and
// its font, keeps them in step with the record, and asks core's text box
// decisions what each step means.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/editor/editor_input.h"
#include "core/editor/text_box.h"
#include "ui/caret/text_box_painting.h"
#include "ui/capture/typing_edit.h"

namespace glimmerly {

// The typed text as it would be stored, and its extent laid out at the box's
// letter size (wrapped at a wrapping label's width).
struct TypedText {
    std::string text;
    Result<Size> measured;
};

class TextEntry {
public:
    // `refused` is given a refused insertion (past the stored limit) from
    // inside the control's message handling: it must not pump messages.
    TextEntry(HWND window, EditorState& state, std::function<void(const Failure&)> refused);
    TextEntry(const TextEntry&) = delete;
    TextEntry& operator=(const TextEntry&) = delete;
    // An entry still open goes without a commit.
    ~TextEntry();

    bool open() const { return edit_ != nullptr; }
    HWND edit() const { return edit_ ? edit_->get() : nullptr; }
    const TextBox* box() const;

    // Opens an entry where the press was: on a text object it edits that
    // object with the caret where the press was; else a new text or (with
    // `label`) a new label whose box the following drag draws. An entry
    // still open is dropped without a commit.
    Status open_at(const TextEntryStart& start);

    // The character under a frame point; needs the renderer's resources.
    Result<TextBoxHit> hit(Point at) const;
    // A press while the entry is open: on the text it starts a mouse
    // selection and gives true.
    Result<bool> press(Point at, PointerModifiers modifiers);
    void select_to(Point at);
    void end_selection();
    void drag_label_to(Point at);
    void end_label_drag();

    TypedText typed() const;
    // Ends the entry with the typed text. A failure (an unusable measurement,
    // a text past the stored limit, a full scene) leaves the entry open with
    // its text; every other outcome closes it and gives the keys back to the
    // editor window.
    Result<TextCommit> commit(TypedText typed);

    void set_colour(Rgb colour);
    void set_ink(std::optional<Rgb> ink);
    Status set_size(double size);
    // A text object's extent laid out at another letter size.
    Result<Size> measure(const SceneObject& object, double size) const;

private:
    TextBoxView* view() const;
    void close();
    void changed() const;

    HWND window_;
    EditorState& state_;
    std::function<void(const Failure&)> refused_;
    std::unique_ptr<TypingEdit> edit_;
};

}  // namespace glimmerly
