#pragma once
// The capture editor's two kinds of typing control, the text box and the
// dimension fields, as the input decisions see them. Both are EDIT controls
// on the Windows side, so their state and their operations live there; the
// decisions ask and call through this interface at the point where the
// answer steers the next step (a press that lands in the text box goes no
// further; a text box is committed before a drawing starts, so that the
// drawing's undo step does not swallow the text).
//
// The defaults describe a window with neither control open: callers without
// a window (pictures drawn from a stored scene, tests) use the class as it is.

#include "core/base/result.h"
#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"
#include "core/editor/virtual_keys.h"

#include <optional>

namespace glimmerly {

class TypingControls {
public:
    virtual ~TypingControls() = default;

    // ---- The text box (points are frame pixels) ----
    virtual bool text_box_open() const { return false; }
    // The left button drags a selection inside the text.
    virtual bool text_box_mouse_selecting() const { return false; }
    // A new label whose box is being drawn by dragging.
    virtual bool label_drag_running() const { return false; }
    // Whether the point lies on the open text box's text.
    virtual bool text_box_text_at(Point) const { return false; }
    // A press while the text box is open: true when it landed in the text and
    // started a mouse selection there (the caller captures the mouse).
    virtual Result<bool> press_in_text_box(Point, PointerModifiers) { return false; }
    // The running mouse selection extends to the character at the point.
    virtual void select_text_to(Point) {}
    virtual void end_text_mouse_selection() {}
    virtual void drag_label_to(Point) {}
    virtual void end_label_drag() {}
    // Ends the entry, keeping what was typed as a text or label object.
    virtual void commit_text_box() {}
    virtual void set_text_box_colour(Rgb) {}
    virtual void set_text_box_ink(std::optional<Rgb>) {}
    virtual double text_box_size() const { return 0.0; }
    virtual Status set_text_box_size(double) { return ok_status(); }
    // The extent of a text object's text laid out at another letter size.
    virtual Result<Size> measure_text(const SceneObject&, double) { return plain_failure("No text layout"); }

    // ---- The dimension fields (points are window pixels) ----
    virtual bool dimension_fields_open() const { return false; }
    // True when the fields took the key.
    virtual bool dimension_field_key(VirtualKey) { return false; }
    // Moves the focus and the selection into the width or the height field
    // at the point (the caller captures the mouse).
    virtual void press_dimension_field(bool /*height*/, Point) {}
    // A running mouse selection in a field follows the pointer.
    virtual void drag_dimension_selection(Point) {}
    // True when a mouse selection in a field was running.
    virtual bool end_dimension_selection() { return false; }
    // Takes the typed size as the selection; false while the fields stay
    // open (a value they refuse).
    virtual bool commit_dimension_fields() { return true; }
};

}  // namespace glimmerly
