#pragma once
// A small fastened scene and a pointer driver for the editing tests.

#include "core/editor/editor_state.h"
#include "core/editor/gestures.h"
#include "tests/core/support/objects.h"

#include <vector>

namespace glimmerly::testing {

inline constexpr ObjectAttachment kOnBoxRight{1, {50, 0}};
inline constexpr ObjectAttachment kOnEllipseLeft{2, {-50, 0}};

// Rectangle 1 at (0, 0, 100, 100), ellipse 2 at (300, 0, 400, 100) and an
// arrow 3 fastened from the rectangle's right side to the ellipse's left.
inline std::vector<SceneObject> box_arrow_ellipse() {
    return {rectangle(1, {0, 0, 100, 100}), ellipse(2, {300, 0, 400, 100}),
            fastened(line(3, {0, 0}, {0, 0}), kOnBoxRight, kOnEllipseLeft)};
}

// Drives the gestures the way the editor does: press, moves (with the keys
// held at each), release.
struct User {
    EditorState& state;

    void press(Point p, PointerModifiers keys = {}) { begin_gesture(state, p, keys); }
    void move(Point p, PointerModifiers keys = {}) {
        set_gesture_modifiers(state, keys);
        continue_gesture(state, p);
    }
    void release() { finish_gesture(state); }
    void drag(Point from, Point to, PointerModifiers keys = {}) {
        press(from, keys);
        move(to, keys);
        release();
    }
};

}  // namespace glimmerly::testing
