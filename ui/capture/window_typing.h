#pragma once
// The typing controls as the editor window drives them: besides what the
// input decisions ask, opening an entry where the pointer said, the keys the
// controls take before the window sees them, and where the focus goes.

#include <windows.h>

#include <cstdint>

#include "core/editor/editor_input.h"

namespace glimmerly {

class WindowTyping : public TypingControls {
public:
    virtual Status open_text_entry(const TextEntryStart&) { return ok_status(); }
    virtual Status open_dimension_fields() { return ok_status(); }
    // The size fields first, then the text box; true when one took the key.
    virtual bool take_key(std::uint32_t /*key*/, bool /*ctrl_down*/) { return false; }
    // The control that should have the keyboard, none for the editor window.
    virtual HWND focus_window() const { return nullptr; }
    // Shows the refusal a control kept for after its message handling;
    // nothing when none is kept.
    virtual void show_refusal() {}
};

}  // namespace glimmerly
