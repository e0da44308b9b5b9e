// The capture editor's window in this process, driven by posted mouse, key
// and wheel messages through the application's own loop, as a user drives
// it: what the editing state holds afterwards, and what the window shows.

#include <gtest/gtest.h>

#include <chrono>
#include <utility>

#include "app/app/capture_start.h"
#include "app/app/editor_session.h"
#include "app/image/screen_grab.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "core/editor/capture_start.h"
#include "core/editor/handles.h"
#include "core/editor/monitor_views.h"
#include "core/editor/toolbar.h"
#include "tests/app/render/render_support.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/private_prefix.h"
#include "ui/capture/editor_window_part.h"
#include "ui/view/frame_renderer.h"

namespace glimmerly {
namespace {

using namespace testing_support;
using testing::close_to;
using Inputs = std::vector<MSG>;  // only message, wParam and lParam

constexpr std::uint32_t kWidth = 800, kHeight = 600;
constexpr Rgb kGround{200, 200, 200}, kRed{237, 79, 92};  // red: a capture's first colour

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }
Inputs key(WPARAM key) { return {{nullptr, WM_KEYDOWN, key, 1}, {nullptr, WM_KEYUP, key, 1}}; }
Inputs drag(int x0, int y0, int x1, int y1) {
    return {{nullptr, WM_LBUTTONDOWN, MK_LBUTTON, at(x0, y0)},
            {nullptr, WM_MOUSEMOVE, MK_LBUTTON, at((x0 + x1) / 2, (y0 + y1) / 2)},
            {nullptr, WM_MOUSEMOVE, MK_LBUTTON, at(x1, y1)},
            {nullptr, WM_LBUTTONUP, 0, at(x1, y1)}};
}
Inputs wheel(WPARAM keys) { return {{nullptr, WM_MOUSEWHEEL, MAKEWPARAM(keys, 120), at(400, 300)}}; }

// Posted keys leave the key states alone: the modifiers a batch of inputs
// is read with are set here.
void hold_keys(std::initializer_list<int> keys) {
    BYTE states[256] = {};
    for (const int k : keys) states[k] = 0x80;
    SetKeyboardState(states);
}

struct UnmeasuringTyping : WindowTyping {
    Result<Size> measure_text(const SceneObject&, double) override { return plain_failure("The letters are lost"); }
};

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        hold_keys({});  // what keys earlier tests typed left down
        EditorState state = new_capture_state(testing::plain_picture(kWidth, kHeight, kGround),
                                              {MonitorArea{{0, 0, kWidth, kHeight}, 1.0}});
        auto resources = create_renderer_resources(false, false);
        ASSERT_TRUE(resources && set_background_image(**resources, state.frozen_frame));
        editor_window_part(state).renderer.resources = std::move(*resources);
        ASSERT_TRUE(install_editor_state(*test_.cell().try_borrow(), window(), std::move(state), {0, 0}));
    }
    void TearDown() override { hold_keys({}); }

    HWND window() const { return test_.window(); }
    // Null once the capture ended.
    EditorSession* session() { return open_editor_session(*test_.cell().try_borrow()); }
    EditorState& state() { return session()->state(); }
    Box rectangle() { return *object_rect(state().objects.front()); }

    // Answers the inputs in order through the application's loop, which
    // then ends (a quit comes only after every posted message).
    void run(std::initializer_list<Inputs> batches, HWND target = nullptr) {
        for (const Inputs& inputs : batches)
            for (const MSG& m : inputs) PostMessageW(target ? target : window(), m.message, m.wParam, m.lParam);
        PostQuitMessage(0);
        const Status ran = run_message_loop_bounded(test_.cell(), window());
        ASSERT_TRUE(ran.ok()) << ran.failure().message;
    }
    // A region chosen, a rectangle and an arrow drawn in it, then the select tool.
    void draw_rectangle_and_arrow() {
        run({drag(100, 100, 500, 400), key('R'), drag(150, 150, 250, 250), key('A'), drag(300, 150, 450, 300),
             key('V')});
        ASSERT_EQ(state().objects.size(), 2u);
    }
    // What the window shows now, painted at once.
    Rgb shown(int x, int y) {
        InvalidateRect(window(), nullptr, FALSE);
        UpdateWindow(window());
        const COLORREF c = GetPixel(win::WindowDc::of(window()).get(), x, y);
        return {GetRValue(c), GetGValue(c), GetBValue(c)};
    }

    win::ComApartment com_;
    // The wheel changes the tool sizes: the user's settings file stays out of it.
    TestAppWindow test_{AppOptions{.in_process_editor = true, .keeps_settings = false}};
};

TEST_F(EditorWindow, DrawsAShapeAndAnArrowMovesTheShapeWithTheArrowKeysAndUndoesAndRedoesTheMove) {
    draw_rectangle_and_arrow();
    EXPECT_EQ(state().capture_selection, (Box{100, 100, 500, 400}));
    EXPECT_EQ(rectangle(), (Box{150, 150, 250, 250}));
    EXPECT_TRUE(close_to(shown(150, 170), kRed, 12));
    EXPECT_TRUE(close_to(shown(350, 200), kRed, 12)) << "on the arrow's shaft";
    EXPECT_TRUE(close_to(shown(200, 200), kGround, 2)) << "inside the rectangle";

    run({drag(150, 170, 150, 170), key(VK_RIGHT), key(VK_RIGHT), key(VK_RIGHT)});
    EXPECT_EQ(rectangle(), (Box{153, 150, 253, 250}));
    EXPECT_TRUE(close_to(shown(153, 170), kRed, 12));
    hold_keys({VK_CONTROL});
    run({key('Z')});
    EXPECT_EQ(rectangle(), (Box{152, 150, 252, 250}));
    run({key('Y')});
    EXPECT_EQ(rectangle(), (Box{153, 150, 253, 250}));
}

TEST_F(EditorWindow, PastedObjectsLieBesideTheCopiedAndOneUndoTakesThemAllAway) {
    draw_rectangle_and_arrow();
    run({drag(120, 120, 480, 380)});  // a marquee round both
    ASSERT_EQ(state().selection.size(), 2u);
    hold_keys({VK_CONTROL});
    run({key('C'), key('V'), key('V')});
    ASSERT_EQ(state().objects.size(), 6u);
    EXPECT_EQ(*object_rect(state().objects[4]), (Box{182, 182, 282, 282})) << "the second paste";
    run({key('Z')});
    EXPECT_EQ(state().objects.size(), 4u);
    run({key('Z')});
    EXPECT_EQ(state().objects.size(), 2u);
}

TEST_F(EditorWindow, NarrowingAWrappedLabelByItsCornerRewrapsItsLettersIntoATallerBox) {
    run({drag(20, 20, 780, 580), key('V')});
    TextPayload label{.label = LabelMode::wrap(400), .text = "one two three four five six seven", .at = {100, 100}};
    auto wide = session()->typing().measure_text(SceneObject{.payload = label}, label.size);
    ASSERT_TRUE(wide) << wide.failure().message;
    label.extent = *wide;
    state().objects = {SceneObject{.id = 1, .payload = label}};
    state().selection = {1};
    const Box frame = selection_frame(state())->box;
    const int x = static_cast<int>(frame.right), y = static_cast<int>(frame.bottom);
    run({drag(x, y, x - 250, y)});
    const TextPayload& narrowed = *as_text(state().objects.front());
    ASSERT_LT(narrowed.label.wrap_width, 400.0);
    EXPECT_GT(narrowed.extent.h, wide->h * 1.5) << "more lines at the new width";
}

TEST_F(EditorWindow, AColourPickedWithTheEyedropperIsRememberedForLaterCaptures) {
    run({drag(100, 100, 500, 400), key('I'), drag(300, 300, 300, 300)});
    EXPECT_EQ(state().custom_colour, kGround);
    EXPECT_FALSE(state().custom_colour_changed);
    EXPECT_EQ(test_.cell().try_borrow()->settings.custom_color, kGround);
}

TEST_F(EditorWindow, CtrlWheelZoomsTheMonitorAndThePlainWheelOrOneAtTheZoomLimitResizesTheTool) {
    const win::UniqueWindow edit(CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 9, 9, window(), 0, 0, 0));
    const struct {
        const char* name;
        WPARAM keys;
        double zoom_before;
        HWND over;
        bool zooms;
    } rows[] = {
        {"Ctrl zooms", MK_CONTROL, 1.0, nullptr, true},
        {"the plain wheel resizes", 0, 1.0, nullptr, false},
        {"Ctrl at the zoom limit resizes", MK_CONTROL, kMaxViewZoom, nullptr, false},
        {"a turn over a typing control", 0, 1.0, edit.get(), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        state().monitor_views[0] = MonitorView{{0, 0, kWidth, kHeight}, {0, 0}, row.zoom_before};
        const double width = state().stroke_width;
        run({{{nullptr, WM_MOUSEMOVE, 0, at(400, 300)}}});
        run({wheel(row.keys)}, row.over);
        EXPECT_EQ(state().monitor_views[0].zoom > row.zoom_before, row.zooms);
        EXPECT_EQ(state().stroke_width > width, !row.zooms);
    }
}

TEST_F(EditorWindow, AFailedWheelTurnIsShownAndAFailingPaintOnlyOnceWhileTheCaptureStaysOpen) {
    session()->set_typing(std::make_unique<UnmeasuringTyping>());
    state().objects = {SceneObject{.id = 1, .payload = TextPayload{}}};
    state().selection = {1};
    const auto boxes = answer_message_boxes([&] {
        run({wheel(0)});
        editor_window_part(state()).back_buffer.emplace();  // no DC to draw into
        for (int i = 0; i < 3; ++i) (void)shown(10, 10);
    });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"The letters are lost");
    ASSERT_TRUE(session());
    run({key(VK_ESCAPE)});
    EXPECT_FALSE(session()) << "the capture went on until Escape";
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

// A fold of the mini toolbar chosen in one capture, and the wheel hint once
// a wheel step used it, are what the next capture starts from.
TEST_F(EditorWindow, TheFoldChosenAndTheWheelHintUsedAreRememberedWhenTheCaptureEnds) {
    Settings settings = test_.cell().try_borrow()->settings;
    settings.mini_toolbar = true;
    settings.mini_toolbar_folded = true;
    test_.cell().try_borrow()->settings = settings;
    apply_capture_settings(state(), settings);
    ASSERT_TRUE(state().wheel_hint_shown);
    run({drag(100, 100, 500, 400), {{nullptr, WM_MOUSEMOVE, 0, at(300, 300)}}});
    state().more_tools_expanded = true;  // the user opened the rest with its button
    run({wheel(0)});
    EXPECT_FALSE(state().wheel_hint_shown);
    run({key(VK_ESCAPE)});
    ASSERT_FALSE(session());
    const Settings& kept = test_.cell().try_borrow()->settings;
    EXPECT_TRUE(kept.wheel_hint);
    EXPECT_FALSE(kept.mini_toolbar_folded);
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

// With a settings file of its own, what the leaving stores is on disk, and
// a later capture reads it from there rather than from what this process
// last held.
TEST_F(EditorWindow, TheFoldAndTheWheelHintReachTheSettingsFileAndTheNextCaptureOpensFolded) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    ASSERT_FALSE(folder.empty());
    const std::wstring file = folder + L"\\" + SETTINGS_FILE_NAME;
    (void)remove_tree(folder);
    Settings on_disk;
    on_disk.mini_toolbar = true;
    on_disk.mini_toolbar_folded = false;
    on_disk.wheel_hint = false;
    ASSERT_TRUE(save_settings_file(on_disk, file).ok());
    {
        auto app = test_.cell().try_borrow();
        app->keeps_settings = true;
        app->settings = on_disk;
    }
    apply_capture_settings(state(), on_disk);
    run({drag(100, 100, 500, 400), {{nullptr, WM_MOUSEMOVE, 0, at(300, 300)}}});
    state().more_tools_expanded = false;  // the user folded the toolbar with its button
    run({wheel(0)});
    run({key(VK_ESCAPE)});
    ASSERT_FALSE(session());
    const auto stored = read_settings_file(file);
    ASSERT_TRUE(stored.ok());
    EXPECT_TRUE(stored->wheel_hint);
    EXPECT_TRUE(stored->mini_toolbar_folded);
    EXPECT_TRUE(stored->mini_toolbar);

    {
        auto app = test_.cell().try_borrow();
        app->settings = on_disk;  // as a process that read the file before the fold
        app->settings_fresh = false;
        ASSERT_TRUE(start_capture_session(*app, window()).ok());
    }
    ASSERT_TRUE(session());
    EXPECT_FALSE(state().more_tools_expanded);
    EXPECT_FALSE(state().wheel_hint_shown);
    run({key(VK_ESCAPE)});
    EXPECT_FALSE(session());
    (void)remove_tree(folder);
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

using namespace std::chrono_literals;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// Holds the window's next paint up past a hint's settle once the paint has
// read the clock, as a busy machine does (a full screen took half a second
// to paint under Wine): the erase that BeginPaint sends waits. A window
// procedure has no context argument: the one hold lives here, on the test's
// own thread.
class HeldPaint {
public:
    explicit HeldPaint(HWND window) : window_(window) {
        current_ = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HeldPaint::proc)));
    }
    HeldPaint(const HeldPaint&) = delete;
    HeldPaint& operator=(const HeldPaint&) = delete;
    ~HeldPaint() {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        current_ = nullptr;
    }
    void hold_next_paint() {
        armed_ = true;
        InvalidateRect(window_, nullptr, TRUE);
    }
    int held() const { return held_; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        HeldPaint* self = current_;
        if (message == WM_ERASEBKGND && std::exchange(self->armed_, false)) {
            ++self->held_;
            Sleep(static_cast<DWORD>(2 * duration_cast<milliseconds>(kToolbarHoverSettle).count()));
        }
        return CallWindowProcW(self->previous_, window, message, wparam, lparam);
    }

    static inline HeldPaint* current_ = nullptr;
    HWND window_;
    WNDPROC previous_ = nullptr;
    bool armed_ = false;
    int held_ = 0;
};

// The frame's pixels, blue, green and red, as a DC holds them.
std::vector<std::uint8_t> colours_of(HDC dc, std::uint32_t width, std::uint32_t height) {
    auto surface = create_dib_surface(width, height);
    if (!surface) return {};
    BitBlt(surface->memory.get(), 0, 0, static_cast<int>(width), static_cast<int>(height), dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> colours;
    for (std::size_t i = 0; i < std::size_t{width} * height * 4; i += 4)
        colours.insert(colours.end(), surface->bits + i, surface->bits + i + 3);
    return colours;
}

class ToolbarHint : public EditorWindow {
protected:
    // The middle of the first action-bar button with the code.
    Point button(EditorActionCode code) {
        for (const ToolbarButton& b : layout_toolbar(state()))
            if (editor_action_code(b.action) == code)
                return {(b.rect.left + b.rect.right) / 2, (b.rect.top + b.rect.bottom) / 2};
        ADD_FAILURE() << "no button " << static_cast<int>(code);
        return {};
    }
    // The frame as the editor draws it once everything under the pointer has
    // settled, drawn apart from the window.
    std::vector<std::uint8_t> settled_frame() {
        auto surface = create_dib_surface(kWidth, kHeight);
        if (!surface) return {};
        const Status drawn = render_frame(state(), surface->memory.get(), {.now = ChromeClock::now() + 1s});
        EXPECT_TRUE(drawn.ok()) << drawn.failure().message;
        return colours_of(surface->memory.get(), kWidth, kHeight);
    }
    // Answers the window's messages until it shows `expected`, for at most
    // 10 s (the window stops drawing once nothing moves).
    bool comes_to_show(const std::vector<std::uint8_t>& expected) {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        for (;;) {
            for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
            if (colours_of(win::WindowDc::of(window()).get(), kWidth, kHeight) == expected) return true;
            if (GetTickCount64() >= deadline) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    // The pointer's move answered at once, so that the frame to expect is
    // drawn from the state it leaves.
    void move_to(Point at) {
        SendMessageW(window(), WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<int>(at.x), static_cast<int>(at.y)));
    }
};

// One step from where the pointer rested onto a button shows that button's
// hint, also when the paint of the step outlasts the hint's settle: the
// frame drawn at the step showed the previous button's hint fading (or no
// hint), and nothing drew again until the pointer moved.
TEST_F(ToolbarHint, AJumpOntoAButtonShowsItsHintAlsoWhenThePaintOutlastsTheSettle) {
    run({drag(100, 100, 500, 400)});
    using Code = EditorActionCode;
    const struct {
        const char* name;
        Point from, to;
    } rows[] = {
        {"from the frame onto Save", {300, 250}, button(Code::Save)},
        {"from Save onto Close", button(Code::Save), button(Code::Close)},
        {"from Close onto copy", button(Code::Close), button(Code::CopyImage)},
    };
    HeldPaint paint(window());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        move_to(row.from);
        ASSERT_TRUE(comes_to_show(settled_frame())) << "where the pointer rests";
        move_to(row.to);
        paint.hold_next_paint();
        UpdateWindow(window());  // the step's paint reads the clock now, before the settle
        EXPECT_TRUE(comes_to_show(settled_frame())) << "the hint under the pointer";
    }
    EXPECT_EQ(paint.held(), 3) << "each step's paint was held up";
}

}  // namespace
}  // namespace glimmerly
