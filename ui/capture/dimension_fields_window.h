#pragma once
// The selection's size fields on the editor window: two hidden single-line
// EDIT controls, width and height, typed into where the size panel showed
// the selection's size. Their record (core's `DimensionFields`) and their
// handles live in the window part, where the chrome painter draws their
// texts and the hint of a refused size; this class owns the controls and
// their font and carries out what core's dimension field decisions say.

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "core/editor/dimension_fields.h"
#include "ui/capture/typing_edit.h"

namespace glimmerly {

class DimensionFieldsWindow {
public:
    DimensionFieldsWindow(HWND window, EditorState& state);
    DimensionFieldsWindow(const DimensionFieldsWindow&) = delete;
    DimensionFieldsWindow& operator=(const DimensionFieldsWindow&) = delete;
    ~DimensionFieldsWindow();

    bool open() const { return edits_[0] != nullptr; }
    // The field with the keyboard focus; the width field when neither has it.
    HWND focus_field() const;

    // Opens the fields with the selection's size, the width's text selected
    // so that typing replaces it. Nothing without a selection. The caller
    // has committed any text box first. A failure leaves no fields.
    Status open_fields();
    // Tab, Esc and Enter while the fields are open; true when taken.
    bool take_key(VirtualKey key);
    // Ends the fields: with `apply` the typed size becomes the selection's.
    // False while they stay open with the hint of a refused size.
    bool commit(bool apply);

    // The pointer in the fields (window pixels).
    void press(bool height, Point point);
    void drag_selection(Point point);
    bool end_selection();

private:
    DimensionFocus focus() const;
    std::optional<std::uint32_t> hit(std::size_t field, Point point) const;
    void close();
    // Measures the typed texts, stores the panel's layout and places the
    // controls on their fields.
    Status lay_out();

    HWND window_;
    EditorState& state_;
    std::array<std::unique_ptr<TypingEdit>, 2> edits_;  // width, height
    struct MouseSelection {
        std::size_t field = 0;
        std::uint32_t anchor = 0;
    };
    std::optional<MouseSelection> selecting_;
};

}  // namespace glimmerly
