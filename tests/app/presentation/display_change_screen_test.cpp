// The screen changes size under the running resident, as a user's display
// does when its resolution is changed: xrandr switches the tests' own
// virtual display between 1600 x 900 and 1920 x 1080, and the presentation
// layers are read back from the resident's real windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/app/app.h"
#include "app/app/display_watch.h"
#include "app/app/messages.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "tests/app/presentation/presentation_fixture.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

bool screen_is(int width, int height) {
    return GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
}

// Names each host script's result file apart from the others of this process.
unsigned g_host_scripts = 0;

// A shell script run on the host to its end; its exit code, or -1 when it
// could not start or never ended. Wine starts a host program with no process
// to wait on, so the script leaves its code in a file as its last action.
int run_host_script(const std::wstring& script) {
    const std::wstring unix_path = L"/tmp/glimmerly-xrandr-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(++g_host_scripts);
    std::wstring command = L"Z:\\bin\\sh -c \"" + script + L"; echo $? >" + unix_path + L".part && mv " +
                           unix_path + L".part " + unix_path + L"\"";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    // A host program comes with no process, and what Wine leaves in hThread
    // then is no handle of ours: closing it would close one of this process's.
    if (info.hProcess) {
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    std::wstring path = L"Z:" + unix_path;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (!eventually([&] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; })) return -1;
    int code = -1;
    if (FILE* file = _wfopen(path.c_str(), L"r")) {
        if (std::fscanf(file, "%d", &code) != 1) code = -1;
        std::fclose(file);
    }
    DeleteFileW(path.c_str());
    return code;
}

// The virtual display's size for the length of a test, given back at its end
// whatever became of the test: the other screen tests share the display.
// Only Xvfb's output is named "screen", so a real display is never touched.
class ScreenSize {
public:
    ScreenSize() : width_(GetSystemMetrics(SM_CXSCREEN)), height_(GetSystemMetrics(SM_CYSCREEN)) {}
    ScreenSize(const ScreenSize&) = delete;
    ScreenSize& operator=(const ScreenSize&) = delete;
    ~ScreenSize() {
        if (!screen_is(width_, height_) && !set(width_, height_))
            ADD_FAILURE() << "the display was left at " << GetSystemMetrics(SM_CXSCREEN) << " x "
                          << GetSystemMetrics(SM_CYSCREEN);
    }

    // The mode made first where the display lacks it; then the new size
    // itself is waited for, as this process's metrics show it.
    [[nodiscard]] bool set(int width, int height) const {
        const std::wstring mode = std::to_wstring(width) + L"x" + std::to_wstring(height);
        std::wstring script;
        if (width == 1600 && height == 900)
            script = L"xrandr --newmode 1600x900 118.25 1600 1696 1856 2112 900 903 908 934 2>/dev/null; "
                     L"xrandr --addmode screen 1600x900 2>/dev/null; ";
        script += L"xrandr --output screen --mode " + mode;
        return run_host_script(script) == 0 && eventually([&] { return screen_is(width, height); });
    }

private:
    int width_, height_;
};

std::string describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

class DisplayChangeScreenTest : public ResidentTest {
protected:
    // The spotlight without a shortcut: shown whenever the pointer effects are.
    void write_start_settings() override {
        write_settings_with([](Settings& settings) {
            settings.pointer.spotlight_shape = 1;
            settings.pointer.spotlight_shortcut.reset();
        });
    }
    void SetUp() override {
        ASSERT_NE(GetFileAttributesW(L"Z:\\usr\\bin\\xrandr"), INVALID_FILE_ATTRIBUTES)
            << "xrandr is missing (Debian: x11-xserver-utils)";
        ResidentTest::SetUp();
        // A command posted while the prepared editor starts is dropped.
        (void)wait_for_child();
    }
    static void move_pointer(POINT at) {
        ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(at.x) + L" " +
                             std::to_wstring(at.y)),
                  0)
            << "xdotool is missing";
    }
    // The resident's windows of the class: those shown, or those hidden.
    std::vector<RECT> shown_rects(const wchar_t* window_class, bool shown = true) const {
        std::vector<RECT> rects;
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, window_class, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT rect{};
            if (owner == resident_.id && bool(IsWindowVisible(window)) == shown && GetWindowRect(window, &rect))
                rects.push_back(rect);
        }
        return rects;
    }
    // The keys display: the one layer narrower than the screen.
    std::optional<RECT> keys_display() const {
        for (const RECT& rect : shown_rects(L"Glimmerly.Presentation"))
            if (rect.right - rect.left < GetSystemMetrics(SM_CXSCREEN) / 2) return rect;
        return std::nullopt;
    }
    // What a user sees on a screen of that size: the spotlight darkening all
    // of it, the pointer layer over the whole monitor, and the keys display
    // in the middle, as far from the bottom as it was on the first screen.
    bool layers_fit(int width, int height) const {
        const RECT screen{0, 0, width, height};
        bool spotlight = false, pointer = false;
        for (const RECT& rect : shown_rects(L"Glimmerly.Spotlight")) spotlight = spotlight || EqualRect(&rect, &screen);
        for (const RECT& rect : shown_rects(L"Glimmerly.Presentation")) pointer = pointer || EqualRect(&rect, &screen);
        const std::optional<RECT> keys = keys_display();
        return spotlight && pointer && keys && height - keys->bottom == keys_margin_ &&
               std::abs(keys->left - (width - keys->right)) <= 1;
    }
    std::string what_shows() {
        std::string shown = "screen " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                            std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "; spotlight";
        for (const RECT& rect : shown_rects(L"Glimmerly.Spotlight")) shown += " " + describe(rect);
        for (const RECT& rect : shown_rects(L"Glimmerly.Spotlight", false)) shown += " hidden " + describe(rect);
        shown += "; layers";
        for (const RECT& rect : shown_rects(L"Glimmerly.Presentation")) shown += " " + describe(rect);
        return shown + "\n" + boxes_said();
    }

    // Pointer motion reaches Wine only over one of its windows: this one
    // stays as large as the largest screen of the test.
    win::UniqueWindow cover_ = screen_cover_window(L"Glimmerly.Tests.DisplayChangeCover",
                                                   static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    ScreenSize screen_;
    LONG keys_margin_ = 0;
};

TEST_F(DisplayChangeScreenTest, LayersMadeOnOneScreenSizeTakeEachNewSize) {
    ASSERT_TRUE(screen_is(1920, 1080)) << "the virtual display starts at 1920 x 1080";
    ASSERT_TRUE(screen_.set(1600, 900)) << "xrandr did not change the display's size";
    post_menu_command(101);  // pointer effects, with the spotlight
    post_menu_command(103);  // the keys display
    ASSERT_NO_FATAL_FAILURE(move_pointer({700, 450}));
    std::optional<RECT> keys;
    ASSERT_TRUE(eventually([&] { return (keys = keys_display()).has_value(); })) << what_shows();
    keys_margin_ = 900 - keys->bottom;
    ASSERT_TRUE(eventually([&] { return layers_fit(1600, 900); })) << "made at 1600 x 900: " << what_shows();

    // A change followed by a move of the pointer, as a presenter's next
    // gesture, and one with the pointer left alone (where the smaller screen
    // still holds it, so that X does not move it): the layers must fit the
    // screen of the moment either way, not wait for the pointer to move.
    const struct Row {
        const char* name;
        int width, height;
        std::optional<POINT> pointer;
    } rows[] = {
        {"grown", 1920, 1080, POINT{1000, 600}},
        {"shrunk, the pointer still", 1600, 900, std::nullopt},
        {"grown again", 1920, 1080, POINT{1700, 1000}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(screen_.set(row.width, row.height)) << "xrandr did not change the display's size";
        if (row.pointer) {
            ASSERT_NO_FATAL_FAILURE(move_pointer(*row.pointer));
        }
        EXPECT_TRUE(eventually([&] { return layers_fit(row.width, row.height); })) << what_shows();
    }
    EXPECT_TRUE(sweeper_.answered().empty()) << boxes_said();
}

// The frozen picture is of a screen that no longer exists: the capture ends
// and says why, as it does on the system's own word of the change.
TEST_F(DisplayChangeScreenTest, AnOpenCaptureEndsWhenTheScreenChanges) {
    ASSERT_TRUE(screen_is(1920, 1080)) << "the virtual display starts at 1920 x 1080";
    const Process child = wait_for_child();
    press_capture_shortcut();
    wait_for_capture(child);
    ASSERT_TRUE(screen_.set(1600, 900)) << "xrandr did not change the display's size";
    EXPECT_TRUE(eventually([&] {
        for (const AnsweredBox& box : sweeper_.answered())
            if (box.text.find(L"The display configuration changed") != std::wstring::npos) return true;
        return false;
    })) << boxes_said();
    EXPECT_EQ(WaitForSingleObject(child.handle.get(), 30000), WAIT_OBJECT_0) << "the capture stayed open";
}

// Layers made while the screen had another size for a moment, given back
// before the display watch looked: no look sees a change of the layout, and
// the layers must still take the screen's size.
TEST(DisplayChangeWatch, LayersMadeForAScreenThatCameAndWentAreMadeAgain) {
    ASSERT_TRUE(screen_is(1920, 1080)) << "the virtual display starts at 1920 x 1080";
    const win::ComApartment com;
    TestAppWindow test;
    ASSERT_TRUE(test.window());
    Settings settings;
    settings.pointer.spotlight_shape = 1;
    settings.pointer.spotlight_shortcut.reset();  // shown all the time
    {
        auto app = test.cell().try_borrow();
        app->presentation = attach_presentation_state(test.window(), settings).value();
        app->display_layout = current_display_layout();
    }
    const auto spotlight = [&]() -> std::string {
        auto state = test.cell().try_borrow()->presentation->try_borrow();
        if (!state->spotlight) return "none";
        const PixelRect& r = state->spotlight->rect;
        return describe(RECT{r.left, r.top, r.right, r.bottom});
    };

    const ScreenSize screen;
    ASSERT_TRUE(screen.set(1600, 900)) << "xrandr did not change the display's size";
    ASSERT_TRUE(toggle_presentation_feature(*test.cell().try_borrow()->presentation->try_borrow(), 101));
    ASSERT_EQ(spotlight(), "(0, 0, 1600, 900)");
    ASSERT_TRUE(screen.set(1920, 1080)) << "xrandr did not change the display's size";
    SendMessageW(test.window(), WM_TIMER, TIMER_DISPLAY_WATCH, 0);
    EXPECT_EQ(spotlight(), "(0, 0, 1920, 1080)");
}

}  // namespace
}  // namespace glimmerly
