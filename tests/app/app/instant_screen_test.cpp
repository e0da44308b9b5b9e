#include "app/app/instant.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <vector>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "tests/app/presentation/presentation_fixture.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/registry.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

TEST(InstantScreenshot, SavesTheMonitorUnderTheNextFreeNumbersWithItsNoticeAndPulse) {
    const win::ComApartment com;
    // A window of one colour on the screen, to be found in the pictures.
    const COLORREF marker = RGB(20, 180, 60);
    const win::UniqueBrush brush(CreateSolidBrush(marker));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Glimmerly.Tests.InstantMarker";
    RegisterClassW(&wc);
    const win::UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP,
                                                   300, 200, 400, 300, nullptr, nullptr, wc.hInstance, nullptr));
    SetClassLongPtrW(window.get(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush.get()));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint({500, 350}, MONITOR_DEFAULTTOPRIMARY), &monitor);

    const testing_support::MessageLog app_window{WM_APP_INSTANT_SCREENSHOT_DONE};
    testing_support::TempFolder desktop;
    InstantScreenshot instant;
    instant.folder = desktop.path();
    NoticeWindow notice;
    start_instant_screenshot(instant, notice, app_window.window(), {.setup_open = true});
    EXPECT_FALSE(instant.receiver.has_value()) << "refused while the setup is open";
    for (const std::wstring name : {L"001.png", L"002.png"}) {
        SCOPED_TRACE(win::to_utf8(name));
        const int done = app_window.count(WM_APP_INSTANT_SCREENSHOT_DONE);
        start_instant_screenshot(instant, notice, app_window.window(), {});
        ASSERT_TRUE(instant.receiver.has_value());
        start_instant_screenshot(instant, notice, app_window.window(), {});  // a second press starts nothing
        ASSERT_TRUE(app_window.wait_past(WM_APP_INSTANT_SCREENSHOT_DONE, done));
        finish_instant_screenshot(instant, notice, true);
        EXPECT_FALSE(instant.receiver.has_value());

        auto picture = load_image_file(desktop.path() + L"\\" + name);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        EXPECT_EQ(picture->width, static_cast<std::uint32_t>(monitor.rcMonitor.right - monitor.rcMonitor.left));
        EXPECT_EQ(picture->height, static_cast<std::uint32_t>(monitor.rcMonitor.bottom - monitor.rcMonitor.top));
        const std::uint8_t* centre = picture->pixels.data() + (std::size_t{350} * picture->width + 500) * 4;
        EXPECT_EQ(RGB(centre[2], centre[1], centre[0]), marker);
        wchar_t title[256] = {};
        ASSERT_TRUE(notice && GetWindowTextW(notice.get(), title, 256));
        EXPECT_EQ(title, L"Screenshot saved to the Desktop: " + name);
        EXPECT_TRUE(IsWindowVisible(notice.get()));
        EXPECT_TRUE(instant.pulse);
    }
    EXPECT_EQ(testing_support::folder_names(desktop.path()), (std::set<std::wstring>{L"001.png", L"002.png"}));
}

// Real keys typed on the X display where the pointer is (over a Wine
// window, so that X hands them to Wine); keys sent by SendInput would be
// marked injected and could not show what a typed lock key brings.
void type_keys(const std::wstring& keys) {
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 key " + keys), 0) << "xdotool is missing";
}

std::wstring desktop_folder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

// The pictures in the folder.
std::set<std::wstring> pictures_in(const std::wstring& folder) {
    std::set<std::wstring> pictures;
    for (const std::wstring& name : folder_names(folder))
        if (name.ends_with(L".png")) pictures.insert(name);
    return pictures;
}

// A registry value as it is stored (its type and bytes), or its absence;
// written back when the scope ends.
class RegistryValueKept {
public:
    RegistryValueKept(HKEY root, std::wstring key, std::wstring name)
        : root_(root), key_(std::move(key)), name_(std::move(name)) {
        DWORD size = 0;
        if (RegGetValueW(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_, nullptr, &size) !=
            ERROR_SUCCESS)
            return;
        bytes_.resize(size);
        existed_ = RegGetValueW(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_,
                                bytes_.data(), &size) == ERROR_SUCCESS;
    }
    RegistryValueKept(const RegistryValueKept&) = delete;
    RegistryValueKept& operator=(const RegistryValueKept&) = delete;
    ~RegistryValueKept() {
        if (existed_)
            RegSetKeyValueW(root_, key_.c_str(), name_.c_str(), type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
        else
            RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
    }

private:
    HKEY root_;
    std::wstring key_, name_;
    DWORD type_ = 0;
    std::vector<std::uint8_t> bytes_;
    bool existed_ = false;
};

constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Wine keeps the lock keys' lights beside the X server's and, whenever a
// key typed on the display finds them differing, types the lock key once
// more ahead of it. The lights outlive each program: one left on by an
// earlier run would come back in a resident holding that lock key as a
// press with the next key typed. A key typed while no resident runs lets
// Wine match its lights to the display's with nobody taking the lock keys.
void match_lock_lights_to_the_display() {
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 keydown shift"), 0) << "xdotool is missing";
    // xdotool runs on beside the test: Wine has taken the key in once it is down.
    ASSERT_TRUE(eventually([] { return GetAsyncKeyState(VK_SHIFT) < 0; })) << "the typed Shift never reached Wine";
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool keyup shift"), 0);
    ASSERT_TRUE(eventually([] { return GetAsyncKeyState(VK_SHIFT) >= 0; }));
}

// Waits at most `wait_ms` for the condition, pumping this thread's windows.
bool within(DWORD wait_ms, const std::function<bool()>& condition) {
    MSG message;
    for (const ULONGLONG end = GetTickCount64() + wait_ms; !condition();) {
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

// The resident with its default shortcuts for a screenshot: Print Screen
// opens a capture, Scroll Lock takes an instant one, saved on the Desktop.
// Under Wine the prefix's Desktop is the host user's home folder, which
// every prefix on the machine shares: other test runs beside this one save
// and delete pictures there. This test's Desktop is a folder of its own.
class InstantKey : public ResidentTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, kUserShellFolders, L"Desktop", desktop_.path()));
        ASSERT_EQ(desktop_folder(), desktop_.path());
        ASSERT_NO_FATAL_FAILURE(match_lock_lights_to_the_display());
        ResidentTest::SetUp();
    }
    void write_start_settings() override {
        write_settings_with([](Settings& settings) {
            settings.capture_shortcut = {0, VK_SNAPSHOT};
            settings.instant_capture_shortcut = {0, VK_SCROLL};
        });
    }
    std::size_t pictures() const { return pictures_in(desktop_.path()).size(); }

    win::UniqueWindow cover_ = screen_cover_window(L"Glimmerly.Tests.InstantCover",
                                                   static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    TempFolder desktop_;
    // The shell keeps the folder it read last under "Shell Folders" too.
    RegistryValueKept user_desktop_{HKEY_CURRENT_USER, kUserShellFolders, L"Desktop"};
    RegistryValueKept shell_desktop_{HKEY_CURRENT_USER, kShellFolders, L"Desktop"};
};

// A lock key's light is the system's: after one typed press of it, the next
// key typed anywhere (here a capture's Print Screen and its Escape) must not
// count as a second press.
TEST_F(InstantKey, OneTypedPressTakesOneScreenshotAndTheNextCaptureTakesNone) {
    Process child = wait_for_child();
    type_keys(L"Scroll_Lock");
    ASSERT_TRUE(eventually([&] { return pictures() == 1; }));

    type_keys(L"Print");
    wait_for_capture(child);
    type_keys(L"Escape");
    EXPECT_EQ(wait_for_exit(child.handle), 0);
    child = wait_for_child(child.id);
    // The stray screenshot came about 2 s after the capture's key; five
    // are given for one to show, with the resident's loop idle at the end.
    EXPECT_FALSE(within(5000, [&] { return pictures() > 1; }));
    EXPECT_TRUE(loop_runs(resident_window_));
    EXPECT_EQ(pictures(), 1u);
    for (const AnsweredBox& box : sweeper_.answered())
        ADD_FAILURE() << "a box: " << win::to_utf8(box.title) << ": " << win::to_utf8(box.text);
}

}  // namespace
}  // namespace glimmerly
