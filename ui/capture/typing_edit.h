#pragma once
// One EDIT control of the editor window that holds what the user types but
// never paints: the editor draws its text, selection and caret itself. The
// control keeps the characters, the caret and the clipboard behaving as in
// any Windows text field; the mouse passes through it to the editor window,
// which finds the character under the pointer in its own drawing.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/win/owners.h"
#include "app/win/subclassing.h"
#include "core/base/result.h"
#include "core/editor/text_box.h"

namespace glimmerly {

// The text box's letters use the annotation font, as the text they become;
// the size fields use the interface font.
enum class EditFont : std::uint8_t { Annotation, Interface };

struct EditSetup {
    DWORD style = 0;
    std::wstring text;
    EditPlacement place;
    EditFont font = EditFont::Annotation;
    double size = 0.0;  // letter size in pixels
    std::uint32_t unit_limit = 0;
};

struct EditHooks {
    // After every message that may change the text, the selection or the
    // focus, so that the drawing follows.
    std::function<void()> changed;
    // Set: typing and pasting past the limit are refused whole, nothing
    // inserted, with a message given here. It runs inside the control's
    // message handling, so it must not pump messages (no message box).
    // Unset: the control cuts a long paste short itself.
    std::function<void(const Failure&)> refused;
};

class TypingEdit {
public:
    // The control as a child of `parent`, subclassed, with its font, its
    // limit, no margins and the caret after the text.
    static Result<std::unique_ptr<TypingEdit>> create(HWND parent, const EditSetup& setup, EditHooks hooks);
    TypingEdit(const TypingEdit&) = delete;
    TypingEdit& operator=(const TypingEdit&) = delete;
    ~TypingEdit();

    HWND get() const { return edit_.get(); }
    std::u16string text() const;
    // EM_GETSEL: the start and the end (the caret) of the selection.
    std::pair<std::uint32_t, std::uint32_t> selection() const;
    void select(std::uint32_t anchor, std::uint32_t caret) const;
    void select_all() const;
    // A new font at the size; the old one goes once the control has the new
    // one. The selection stays.
    Status set_font(EditFont font, double size);
    Status place(EditPlacement place) const;

private:
    TypingEdit(EditHooks hooks, std::uint32_t unit_limit) : hooks_(std::move(hooks)), unit_limit_(unit_limit) {}
    static LRESULT CALLBACK subclass(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                     DWORD_PTR self) noexcept;
    // True when the insertion was refused (and the refusal given).
    bool refuse_insertion(std::u16string_view inserted);
    bool refuse_char(WPARAM character);
    bool refuse_paste();

    win::SubclassCalls calls_;
    // Declared before the control, which uses it: released after it.
    win::UniqueFont font_;
    win::UniqueWindow edit_;
    EditHooks hooks_;
    std::uint32_t unit_limit_;
};

// The GDI font of a typing control: the annotation font (added to the process
// from memory once) or the interface font, at the letter size.
Result<win::UniqueFont> create_typing_font(EditFont font, double size);

}  // namespace glimmerly
