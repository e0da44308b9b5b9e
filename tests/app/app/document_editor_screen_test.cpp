// An editable document opened as a user opens it: `glimmerly.exe <file>`
// (a saved document double-clicked), edited with the mouse and keyboard
// (SendInput, so that the program reads real key states) and saved in place
// with Ctrl+S; a file the editor must refuse; and zoom on a document that
// covers only part of its monitor. Every box the program shows is answered.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/app/document.h"
#include "app/app/editor_session.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/editor/capture_start.h"
#include "core/editor/document_origin.h"
#include "core/editor/editor_state.h"
#include "core/editor/toolbar.h"
#include "core/render/interface_colours.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/injected_input.h"
#include "tests/app/support/peak_memory.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/program_path.h"
#include "tests/app/support/registry.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/temp_folder.h"
#include "tests/core/support/objects.h"
#include "tests/core/support/png.h"
#include "text/text_table.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr Box kKeptShape{100, 120, 300, 260};
constexpr RECT kDrawn{600, 400, 800, 520};

// The frame pixel tells its own place: blue is x, green is y (each mod 256).
BgraImage pattern(std::uint32_t width, std::uint32_t height) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t{y} * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(y), p[2] = 0x90, p[3] = 0xFF;
        }
    return image;
}

// A document as the program saves one: the whole frame kept, one rectangle.
void write_document(const std::wstring& path, std::uint32_t width, std::uint32_t height, ScreenOrigin origin,
                    std::optional<Box> region = std::nullopt) {
    win::ComApartment com;
    const BgraImage frame = pattern(width, height);
    EditorState editor;
    editor.frame_width = width;
    editor.frame_height = height;
    editor.capture_selection = region.value_or(Box{0, 0, static_cast<double>(width), static_cast<double>(height)});
    editor.objects = {testing::rectangle(1, kKeptShape)};
    editor.last_id = 1;
    auto bytes = encode_vexil_document(editor, frame, origin, frame);
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr));
}

// A document whose frame is black and of any size, its pixels never made
// here: the frame PNG packs a bit a pixel.
void write_blank_document(const std::wstring& path, std::uint32_t width, std::uint32_t height) {
    Scene scene;
    scene.frame = {width, height};
    scene.region = Box{0, 0, static_cast<double>(width), static_cast<double>(height)};
    const auto bytes = write_vexil_document(scene, testing::blank_png(64, 64), testing::blank_png(width, height));
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    ASSERT_TRUE(write_test_file(path, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())));
}

// Blue and green of the screen pixel: the frame place it shows, mod 256.
std::pair<int, int> shown_place(POINT at) {
    const COLORREF shown = GetPixel(win::WindowDc::of(nullptr).get(), at.x, at.y);
    return {GetBValue(shown), GetGValue(shown)};
}

HWND keyboard_focus_of(HWND window) {
    GUITHREADINFO info{.cbSize = sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

class DocumentEditor : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        folder_ = program_folder_path().value_or(L"");
        (void)remove_tree(folder_);
        set_registry_string(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", L"N");
        Settings settings;
        settings.start_with_windows = false;
        ASSERT_TRUE(save_settings_file(settings, folder_ + L"\\settings.txt").ok());
        document_ = win::join_path(documents_.path(), L"shot.vexil");
    }
    void TearDown() override {
        if (editor_.handle) TerminateProcess(editor_.handle.get(), 99);  // what a failed test left
        if (lock_) (void)remove_tree(folder_);
    }

    // With the document by default; "--editor" captures the screen instead.
    void start_editor(const std::wstring& argument = {}) {
        std::wstring command = quoted_program_path() + L" " + (argument.empty() ? L"\"" + document_ + L"\"" : argument);
        STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
        CloseHandle(info.hThread);
        editor_ = {win::UniqueHandle(info.hProcess), info.dwProcessId};
        sweeper_.watch(editor_.id);
    }
    // The editor's window once it shows the document and has the keyboard.
    HWND wait_for_editor(const RECT& expected) {
        HWND window = nullptr;
        EXPECT_TRUE(eventually([&] { return IsWindowVisible(window = app_window_of(editor_.id)); }));
        RECT shown{};
        EXPECT_TRUE(GetWindowRect(window, &shown) && EqualRect(&shown, &expected))
            << shown.left << "," << shown.top << " " << shown.right << "," << shown.bottom;
        EXPECT_TRUE(loop_runs(window));
        EXPECT_TRUE(eventually([&] { return keyboard_focus_of(window) == window; }));
        return window;
    }

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
    TempFolder documents_;
    std::wstring document_;
    DialogSweeper sweeper_;
    Process editor_;
};

TEST_F(DocumentEditor, OpensWhereItWasTakenKeepsItsObjectsEditableAndCtrlSSavesItInPlace) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    write_document(document_, width, height, {0, 0});
    start_editor();
    wait_for_editor({0, 0, width, height});

    // A second rectangle beside the kept one, then Ctrl+S.
    send({key_input('R', false), key_input('R', true)});
    const POINT from{kDrawn.left, kDrawn.top}, to{kDrawn.right, kDrawn.bottom}, middle{700, 460};
    send({mouse_input(from, 0), mouse_input(from, MOUSEEVENTF_LEFTDOWN), mouse_input(middle, 0), mouse_input(to, 0),
          mouse_input(to, MOUSEEVENTF_LEFTUP)});
    send({key_input(VK_CONTROL, false), key_input('S', false), key_input('S', true), key_input(VK_CONTROL, true)});
    EXPECT_EQ(wait_for_exit(editor_.handle), 0);

    win::ComApartment com;
    auto saved = load_vexil_document(document_);
    ASSERT_TRUE(saved.ok()) << saved.failure().message;
    ASSERT_EQ(saved->scene.objects.size(), 2u);
    EXPECT_EQ(saved->scene.objects[0], testing::rectangle(1, kKeptShape)) << "the kept object, untouched";
    const Box* drawn = object_rect(saved->scene.objects[1]);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(*drawn, (Box{kDrawn.left, kDrawn.top, kDrawn.right, kDrawn.bottom}));
    EXPECT_EQ(saved->scene.origin, (ScreenOrigin{0, 0}));
    const BgraImage original = pattern(width, height);
    EXPECT_TRUE(saved->frame.pixels == original.pixels) << "the frame as it was opened";
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(DocumentEditor, AFileLargerThan256MiBIsRefusedAsDamagedFromItsSizeAndAMissingOneAsUnread) {
    write_document(document_, 320, 200, {0, 0});
    {
        // Extended, not filled: the refusal must come from the size alone.
        win::UniqueFileHandle file(CreateFileW(document_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFilePointerEx(file.get(), LARGE_INTEGER{.QuadPart = 0x10000001}, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    start_editor();
    EXPECT_EQ(wait_for_exit(editor_.handle), 1);
    const auto boxes = sweeper_.answered();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, win::to_wide(text_of(0, TextId::document_damaged)));

    document_ += L".gone";
    start_editor();
    EXPECT_EQ(wait_for_exit(editor_.handle), 1);
    const auto unread = sweeper_.answered();
    ASSERT_EQ(unread.size(), 2u);
    EXPECT_TRUE(unread[1].text.starts_with(L"Could not open " + document_ + L": ")) << win::to_utf8(unread[1].text);
}

TEST_F(DocumentEditor, ADocumentOverPartOfAMonitorZoomsThatMonitorsViewAroundThePointer) {
    // Taken on screens that are gone: centred on the monitor under the pointer.
    write_document(document_, 800, 600, {5000, 5000});
    SetCursorPos(960, 540);
    start_editor();
    // The window covers the monitor; the frame is shown at (560, 240) in it.
    const HWND window = wait_for_editor({0, 0, 1920, 1080});
    ASSERT_TRUE(window);
    const POINT pointer{860, 540}, aside{960, 540};  // frame (300, 300) and (400, 300)
    send({mouse_input(pointer, 0)});
    ASSERT_TRUE(eventually([&] { return shown_place(aside) == std::pair{400 % 256, 300 % 256}; }));

    // Wine resets the held keys once the window has the X focus: a Ctrl
    // sent before then is dropped, and the wheel scrolls instead of zooming.
    ASSERT_TRUE(wait_for_keyboard_focus(window));
    send({key_input(VK_CONTROL, false), mouse_input(pointer, MOUSEEVENTF_WHEEL, WHEEL_DELTA),
          key_input(VK_CONTROL, true)});
    // One notch zooms by 1.25 about the pointer: 100 pixels aside show the frame 80 pixels aside.
    EXPECT_TRUE(eventually([&] { return std::abs(shown_place(aside).first - 380 % 256) <= 2; }))
        << shown_place(aside).first;
    EXPECT_LE(std::abs(shown_place(pointer).first - 300 % 256), 1);
    EXPECT_LE(std::abs(shown_place(pointer).second - 300 % 256), 1);

    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(wait_for_exit(editor_.handle), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(DocumentEditor, AFrameNoScreenCanShowIsRefusedFromItsSizeWithoutItsPixelsInMemory) {
    // One pixel too large for the 1920 x 1080 screen is the figure at rest;
    // 16384 x 16384 would be 1 GiB decoded.
    const std::wstring command = quoted_program_path() + L" \"" + document_ + L"\"";
    write_blank_document(document_, 1921, 1081);
    const WatchedRun small = run_watching_peak(command, documents_.path(), nullptr, sweeper_, 60000);
    write_blank_document(document_, 16384, 16384);
    const WatchedRun large = run_watching_peak(command, documents_.path(), nullptr, sweeper_, 60000);

    EXPECT_EQ(small.exit_code, 1);
    EXPECT_EQ(large.exit_code, 1);
    ASSERT_GT(small.readings, 0) << "not measured";
    ASSERT_GT(large.readings, 0) << "not measured";
    RecordProperty("peak_working_set_at_rest", std::to_string(small.peak_working_set));
    RecordProperty("peak_working_set_refused", std::to_string(large.peak_working_set));
    EXPECT_LT(large.peak_working_set, small.peak_working_set + (100u << 20))
        << large.peak_working_set << " against " << small.peak_working_set;
    const auto boxes = sweeper_.answered();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"This image (16384 \u00D7 16384) is larger than this screen. It still opens as a PNG.");
}

// The toolbar as the editor lays it out in its window: the window's own
// size, its screens, the document's region where the frame was placed and
// the settings' toolbar form.
std::vector<ToolbarButton> toolbar_in(HWND window, FrameSize frame, const Box& region, POINT pointer) {
    RECT shown{}, client{};
    if (!GetWindowRect(window, &shown) || !GetClientRect(window, &client)) return {};
    std::vector<Box> monitors;
    for (const MonitorArea& area : enumerate_monitors({0, 0})) monitors.push_back(area.rect);
    const auto origin = choose_document_origin(frame, {0, 0}, monitors, {pointer.x, pointer.y});
    if (!origin) return {};
    EditorState state;
    state.frame_width = static_cast<std::uint32_t>(client.right);
    state.frame_height = static_cast<std::uint32_t>(client.bottom);
    state.monitor_areas = enumerate_monitors({shown.left, shown.top});
    const double dx = origin->x - shown.left, dy = origin->y - shown.top;
    state.capture_selection = Box{region.left + dx, region.top + dy, region.right + dx, region.bottom + dy};
    state.selecting = false;
    apply_capture_settings(state, Settings{});
    return layout_toolbar(state);
}

bool shows_accent(POINT at) {
    const COLORREF shown = GetPixel(win::WindowDc::of(nullptr).get(), at.x, at.y);
    return std::abs(GetRValue(shown) - kAccent.r) <= 8 && std::abs(GetGValue(shown) - kAccent.g) <= 8 &&
           std::abs(GetBValue(shown) - kAccent.b) <= 8;
}

TEST_F(DocumentEditor, ASmallDocumentOffersEveryToolThroughItsToolbar) {
    // The document check's document: 320 x 200, taken where no screen of
    // that size is now, so it opens centred on the monitor under the pointer.
    constexpr Box kRegion{40, 30, 280, 170};
    write_document(document_, 320, 200, {0, 0}, kRegion);
    const POINT pointer{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    SetCursorPos(pointer.x, pointer.y);
    start_editor();
    HWND window = nullptr;
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(window = app_window_of(editor_.id)); }));
    ASSERT_TRUE(loop_runs(window));

    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    std::vector<ToolbarButton> tools;
    for (const ToolbarButton& b : toolbar_in(window, {320, 200}, kRegion, pointer))
        if (b.panel == ToolbarPanel::Tools) tools.push_back(b);
    ASSERT_EQ(tools.size(), 11u);

    // Off the toolbar, so that no hover or hint lies over a button.
    const POINT aside{screen.left + 2, screen.top + 2};
    std::optional<POINT> previous;
    for (const ToolbarButton& b : tools) {
        SCOPED_TRACE(b.action);
        POINT corner{static_cast<LONG>(std::floor(b.rect.left)), static_cast<LONG>(std::floor(b.rect.top))};
        POINT last{static_cast<LONG>(std::ceil(b.rect.right)), static_cast<LONG>(std::ceil(b.rect.bottom))};
        EXPECT_TRUE(corner.x >= 0 && corner.y >= 0 && last.x <= client.right && last.y <= client.bottom)
            << "outside the window: " << corner.x << "," << corner.y << " " << last.x << "," << last.y;
        ClientToScreen(window, &corner);
        ClientToScreen(window, &last);
        EXPECT_TRUE(corner.x >= screen.left && corner.y >= screen.top && last.x <= screen.right &&
                    last.y <= screen.bottom)
            << "off the screen";
        // Above the icon, within the background at every size of its press bounce.
        const POINT middle{(corner.x + last.x) / 2, (corner.y + last.y) / 2}, edge{middle.x, corner.y + 4};
        EXPECT_FALSE(shows_accent(edge)) << "marked before its click";
        send({mouse_input(middle, 0), mouse_input(middle, MOUSEEVENTF_LEFTDOWN), mouse_input(middle, MOUSEEVENTF_LEFTUP),
              mouse_input(aside, 0)});
        EXPECT_TRUE(eventually([&] { return shows_accent(edge); })) << "not the tool after its click";
        if (previous) {
            EXPECT_FALSE(shows_accent(*previous)) << "the tool before stays marked";
        }
        previous = edge;
    }

    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(wait_for_exit(editor_.handle), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

// An editor started on its own freezes the screen in its own process, and
// leaving it ends the process.
TEST_F(DocumentEditor, TheEditorOptionCapturesTheScreenInItsOwnProcessAndEscapeEndsIt) {
    start_editor(L"--editor");
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    wait_for_editor(screen);
    send({key_input(VK_ESCAPE, false), key_input(VK_ESCAPE, true)});
    EXPECT_EQ(wait_for_exit(editor_.handle), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
