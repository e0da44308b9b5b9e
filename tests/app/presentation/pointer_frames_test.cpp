// The frames of the pointer layer over the monitor: what one frame leaves
// in the layer's own picture, and when one is drawn at all. A frame costs
// tens of milliseconds on a loaded machine and nothing runs beside it, so
// none is drawn for an event that changes nothing, none while input waits
// for the thread, and none while a temporary shape is armed.

#include <gtest/gtest.h>

#include "app/presentation/events.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/presentation.h"
#include "app/presentation/shapes.h"
#include "app/win/owners.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

constexpr POINT kPointer{400, 300};
// Written into the picture by the test: no frame draws it.
constexpr std::uint32_t kMarker = 0x04030201;

class PointerFramesTest : public testing_support::PresentationFixture {
protected:
    PointerFramesTest() : PresentationFixture(kPointer) {}

    void SetUp() override {
        PresentationFixture::SetUp();
        settings_.pointer.click_animation = 1;  // ripples need frames: the layer covers the monitor
    }

    // The pointer effects on, the first frame drawn.
    PresentationCell::Borrow effects_on(PresentationFeatures features = {.pointer_effects = true}) {
        auto state = attach();
        EXPECT_TRUE(apply_presentation_features(*state, features));
        EXPECT_TRUE(state->pointer_layer && state->pointer_monitor);
        return state;
    }

    static std::uint32_t& pixel(PresentationState& state, POINT screen) {
        PresentationLayer& layer = *state.pointer_layer;
        auto* pixels = reinterpret_cast<std::uint32_t*>(layer.surface.bits);
        return pixels[std::size_t(screen.y - state.pointer_origin.y) * layer.width + (screen.x - state.pointer_origin.x)];
    }
    // A marker on the halo under the pointer: the next frame draws over it.
    static void mark_the_halo(PresentationState& state) {
        pixel(state, kPointer) = kMarker;
        state.last_effects_update.reset();  // no frame held back by the 12 ms between input frames
    }
    static bool frame_drawn(PresentationState& state) { return pixel(state, kPointer) != kMarker; }
    // The pointer moved to `at` and the move recorded, as the raw input
    // handler records it, with no frame drawn for it yet.
    static void moved_to(PresentationState& state, POINT at) {
        SetCursorPos(at.x, at.y);
        drain();
        track_pointer_trail(state.pointer, at.x, at.y, presentation_now(state), 1.0, effective_settings(state));
    }
    // Nothing left waiting in the thread's queue (a pointer moved by the
    // test may have queued a move for a window of the test's own).
    static void drain() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
};

TEST_F(PointerFramesTest, AFrameLeavesThePictureOutsideWhatItChangesAsItWas) {
    auto state = effects_on();
    const POINT far_corner{state->pointer_origin.x + 5, state->pointer_origin.y + 5};
    pixel(*state, far_corner) = kMarker;
    moved_to(*state, {kPointer.x + 3, kPointer.y});  // the halo moves, still over the marker
    mark_the_halo(*state);
    state->spotlight_refresh = true;
    ASSERT_TRUE(update_pointer_effects(*state));
    EXPECT_TRUE(frame_drawn(*state));
    EXPECT_EQ(pixel(*state, far_corner), kMarker);
}

TEST_F(PointerFramesTest, AnEventThatMovesNothingDrawsNothingAndAMoveDoes) {
    auto state = effects_on();
    mark_the_halo(*state);
    ASSERT_TRUE(handle_raw_mouse(*state, 0));
    EXPECT_FALSE(frame_drawn(*state)) << "the pointer is where it was";
    EXPECT_FALSE(state->timer.set);

    SetCursorPos(kPointer.x + 3, kPointer.y);
    drain();
    ASSERT_TRUE(handle_raw_mouse(*state, 0));
    EXPECT_TRUE(frame_drawn(*state)) << "the pointer moved";
}

// The timer runs on while shapes fade or a spotlight is held: a tick whose
// frame would draw what the layer shows draws nothing.
TEST_F(PointerFramesTest, ATickWithNothingChangedDrawsNothingAndOneAfterAMoveDraws) {
    auto state = effects_on();
    mark_the_halo(*state);
    state->spotlight_refresh = true;
    ASSERT_TRUE(tick_presentation(*state));
    EXPECT_FALSE(frame_drawn(*state)) << "drawn again with nothing changed";

    moved_to(*state, {kPointer.x + 3, kPointer.y});
    ASSERT_TRUE(tick_presentation(*state));
    EXPECT_TRUE(frame_drawn(*state)) << "the pointer moved";
}

TEST_F(PointerFramesTest, NoFrameWhileAShapeIsArmedAndTheFirstTickAfterItDrawsOne) {
    auto state = effects_on({.pointer_effects = true, .temporary_shapes = true});
    ASSERT_TRUE(handle_presentation_hotkey(*state, 92));
    ASSERT_TRUE(temporary_shape_armed(*state));
    mark_the_halo(*state);
    SetCursorPos(kPointer.x + 3, kPointer.y);
    drain();
    ASSERT_TRUE(handle_raw_mouse(*state, RI_MOUSE_LEFT_BUTTON_DOWN));
    ASSERT_TRUE(tick_presentation(*state));
    EXPECT_FALSE(frame_drawn(*state)) << "drawn while the shape was armed";
    EXPECT_TRUE(state->timer.set) << "the frame is owed";

    ASSERT_TRUE(disarm_temporary_shape(*state));
    drain();
    ASSERT_TRUE(tick_presentation(*state));
    EXPECT_TRUE(frame_drawn(*state));
}

TEST_F(PointerFramesTest, NoFrameWhileInputWaitsAndTheTickAfterItDrawsOne) {
    auto state = effects_on();
    // A window of the test's own under the pointer, for the input to wait
    // in the test's queue.
    WNDCLASSW window_class{.lpfnWndProc = DefWindowProcW, .lpszClassName = L"Glimmerly.Tests.InputTarget"};
    RegisterClassW(&window_class);
    win::UniqueWindow target(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                             window_class.lpszClassName, L"", WS_POPUP, kPointer.x - 100,
                                             kPointer.y - 100, 200, 200, nullptr, nullptr, nullptr, nullptr));
    ShowWindow(target.get(), SW_SHOWNOACTIVATE);
    Status (*const tick)(PresentationState&) = [](PresentationState& s) { return tick_presentation(s); };
    Status (*const move)(PresentationState&) = [](PresentationState& s) { return handle_raw_mouse(s, 0); };
    const struct Row {
        const char* name;
        DWORD waiting;  // a press, or a move to the pointer's place
        UINT kind;
        Status (*frame)(PresentationState&);
    } rows[] = {
        {"a tick while a press waits", MOUSEEVENTF_LEFTDOWN, QS_MOUSEBUTTON, tick},
        {"a move while a press waits", MOUSEEVENTF_LEFTDOWN, QS_MOUSEBUTTON, move},
        {"a move while another waits", MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, QS_MOUSEMOVE, move},
    };
    int moves = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const POINT at{kPointer.x + 3 * ++moves, kPointer.y};
        // A tick draws a move recorded before it; a raw move records its own.
        if (row.frame == tick) {
            moved_to(*state, at);
        } else {
            SetCursorPos(at.x, at.y);
            drain();
        }
        mark_the_halo(*state);
        state->spotlight_refresh = true;
        INPUT input{.type = INPUT_MOUSE};
        input.mi.dwFlags = row.waiting;
        input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
        EXPECT_NE(HIWORD(GetQueueStatus(row.kind)), 0) << "the input never came";
        ASSERT_TRUE(row.frame(*state));
        EXPECT_FALSE(frame_drawn(*state)) << "drawn ahead of the waiting input";
        EXPECT_TRUE(state->timer.set) << "the frame is owed";

        if (row.waiting == MOUSEEVENTF_LEFTDOWN) {
            input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
            ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
        }
        drain();
        ASSERT_TRUE(tick_presentation(*state));
        EXPECT_TRUE(frame_drawn(*state));
    }
}

}  // namespace
}  // namespace glimmerly
