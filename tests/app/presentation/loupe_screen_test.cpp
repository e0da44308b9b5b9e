// The magnifier under Wine, whose compositor has no thumbnails: the loupe is
// drawn in round bands, so only its dark background shows inside its round
// region. First in the real resident, switched by the tray's command and by
// its shortcut; then in this process, where the placements can be counted:
// an unchanged one moves nothing, and a window of another process moved
// under the still pointer reaches the loupe through its WinEvent hooks.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "app/app/messages.h"
#include "app/lib/settings_store.h"
#include "app/presentation/presentation.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/resident.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr wchar_t kMenuCommand[] = L"0x800D";  // WM_APP + 13
constexpr COLORREF kBackdrop = RGB(0x2E, 0x8B, 0x57);
constexpr COLORREF kLoupeBackground = RGB(0x20, 0x20, 0x20);
constexpr wchar_t kSolidClass[] = L"Glimmerly.Tests.LoupeSolid";

void move_pointer(int x, int y) {
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y)), 0)
        << "xdotool is missing";
    // This process learns of the move as it reads its messages.
    ASSERT_TRUE(eventually([&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == x && at.y == y;
    }));
}

// A solid window over the whole screen beneath everything the loupe shows;
// X also reports the pointer's motion to Wine only over a Wine window.
class Backdrop {
public:
    Backdrop()
        : brush_(CreateSolidBrush(kBackdrop)),
          window_(testing_support::screen_cover_window(L"Glimmerly.Tests.LoupeBackdrop", brush_.get())) {}
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;
    // The class goes with its brush: the next backdrop registers it afresh.
    ~Backdrop() {
        window_.reset();
        UnregisterClassW(L"Glimmerly.Tests.LoupeBackdrop", nullptr);
    }

private:
    win::UniqueBrush brush_;
    win::UniqueWindow window_;
};

COLORREF screen_pixel(int x, int y) { return GetPixel(win::WindowDc::of(nullptr).get(), x, y); }

// What a user sees of a loupe of 240 centred on (x, y): its background 105
// pixels from the centre (inside the round region, beside the pointer's own
// layer), the backdrop in the square's four corners.
bool loupe_picture_at(int x, int y) {
    const POINT inside[] = {{x - 105, y}, {x + 105, y}, {x, y - 105}, {x, y + 105}};
    const POINT corners[] = {{x - 119, y - 119}, {x + 118, y - 119}, {x - 119, y + 118}, {x + 118, y + 118}};
    return std::all_of(std::begin(inside), std::end(inside),
                       [](POINT p) { return screen_pixel(p.x, p.y) == kLoupeBackground; }) &&
           std::all_of(std::begin(corners), std::end(corners),
                       [](POINT p) { return screen_pixel(p.x, p.y) == kBackdrop; });
}

class LoupeScreenTest : public ResidentTest {
protected:
    void SetUp() override {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        ASSERT_TRUE(CreatePipe(error_read_.put(), error_write_.put(), &inherit, 1 << 16));
        SetHandleInformation(error_read_.get(), HANDLE_FLAG_INHERIT, 0);
        ResidentTest::SetUp();
        error_write_.reset();
        // A command that arrives while the resident starts its prepared
        // editor is dropped, as a click on the busy menu would be.
        (void)wait_for_child();
    }
    HANDLE resident_standard_error() override { return error_write_.get(); }
    void write_start_settings() override {
        write_settings_with([](Settings& settings) {
            settings.pointer.magnifier_shortcut = Shortcut{kShortcutCtrl | kShortcutAlt | kShortcutShift, 'M'};
        });
    }
    void post_command(const wchar_t* command) {
        ASSERT_EQ(run_to_end(beside_tests(L"post_message.exe") + L" Glimmerly.Window " + kMenuCommand + L" " + command +
                             L" 0 " + std::to_wstring(resident_.id)),
                  0);
    }
    HWND loupe() const { return window_of(resident_.id, L"Glimmerly.Loupe"); }
    bool loupe_at(int x, int y) const {
        RECT shown{};
        const RECT wanted{x - 120, y - 120, x + 120, y + 120};
        return IsWindowVisible(loupe()) && GetWindowRect(loupe(), &shown) && EqualRect(&shown, &wanted);
    }
    // The lines the resident has written to standard error so far.
    std::vector<std::string> error_lines() {
        DWORD available = 0;
        if (PeekNamedPipe(error_read_.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            std::string more(available, '\0');
            DWORD read = 0;
            ReadFile(error_read_.get(), more.data(), available, &read, nullptr);
            error_text_ += more.substr(0, read);
        }
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = error_text_.find('\n', start)) != std::string::npos; start = end + 1) {
            std::string line = error_text_.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    Backdrop backdrop_;
    win::UniqueHandle error_read_, error_write_;
    std::string error_text_;
};

TEST_F(LoupeScreenTest, TheMenuCommandMagnifiesAtThePointerInRoundBandsAndSaysWhyOnce) {
    move_pointer(500, 400);
    post_command(L"107");
    ASSERT_TRUE(eventually([&] { return loupe_at(500, 400); }));
    wchar_t title[64]{};
    GetWindowTextW(loupe(), title, 64);
    EXPECT_STREQ(title, L"Glimmerly loupe");
    EXPECT_TRUE(eventually([] { return loupe_picture_at(500, 400); }))
        << std::hex << screen_pixel(395, 400) << " inside, " << screen_pixel(381, 281) << " in a corner";

    post_command(L"107");
    EXPECT_TRUE(eventually([&] { return loupe() == nullptr; }));
    // A new loupe draws in bands at once, without saying so again.
    post_command(L"107");
    EXPECT_TRUE(eventually([&] { return loupe_at(500, 400); }));
    post_command(L"107");
    EXPECT_TRUE(eventually([&] { return loupe() == nullptr; }));

    ASSERT_TRUE(loop_runs(resident_window_));
    std::vector<std::string> said;
    for (const std::string& line : error_lines())
        if (line.rfind("Loupe: ", 0) == 0) said.push_back(line);
    ASSERT_EQ(said.size(), 1u);
    // Wine reports an old build, or counts the export as missing when its
    // prefix reports a newer one.
    EXPECT_TRUE(std::regex_match(
        said[0], std::regex("Loupe: (Windows build [0-9]+, before 22000|dwmapi has no export 147); drawn in round "
                            "bands instead")))
        << said[0];
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(LoupeScreenTest, TheMagnifierShortcutShowsTheLoupeAndDropsIt) {
    // The pointer shortcuts are heard while a pointer feature is on.
    move_pointer(500, 400);
    post_command(L"101");
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(window_of(resident_.id, L"Glimmerly.Presentation")); }));
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 key ctrl+alt+shift+m"), 0) << "xdotool is missing";
    EXPECT_TRUE(eventually([&] { return loupe_at(500, 400); }));
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 key ctrl+alt+shift+m"), 0);
    EXPECT_TRUE(eventually([&] { return loupe() == nullptr; }));
    // The effects stay on.
    EXPECT_TRUE(IsWindowVisible(window_of(resident_.id, L"Glimmerly.Presentation")));
    EXPECT_TRUE(sweeper_.answered().empty());
}

// Another process's window, for the hooks that skip this one's events.
LRESULT CALLBACK solid_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

GLIM_TEST_CHILD(LoupeSolidWindow) {
    if (args.size() != 4) return 2;
    WNDCLASSW window_class{.lpfnWndProc = solid_proc, .lpszClassName = kSolidClass};
    window_class.hbrBackground = CreateSolidBrush(RGB(0xC0, 0x40, 0x40));
    RegisterClassW(&window_class);
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kSolidClass, L"", WS_POPUP,
                                        std::stoi(args[0]), std::stoi(args[1]), std::stoi(args[2]),
                                        std::stoi(args[3]), nullptr, nullptr, nullptr, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

// The application window's share of the loupe: its window events handed to
// the state, as the resident's procedure does.
PresentationCell* g_loupe_cell = nullptr;  // the window procedure has no context of its own
int g_refreshes = 0;

LRESULT CALLBACK loupe_owner_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_LOUPE_WINDOW_EVENT && g_loupe_cell)
        if (auto state = g_loupe_cell->try_borrow()) {
            ++g_refreshes;
            EXPECT_TRUE(refresh_loupe_sources(*state));
            return 0;
        }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool beneath_holds(const Loupe& loupe, HWND window) {
    return std::any_of(loupe.last_beneath.begin(), loupe.last_beneath.end(),
                       [&](const LoupeCandidate& c) { return c.window == reinterpret_cast<LoupeWindowId>(window); });
}

// Over the keys-and-mouse display the loupe shows what lies beneath it, not
// the display, and it lies just below the pointer's layer, whose effects
// are drawn over the enlarged picture.
TEST(LoupePlacements, LeaveOutThePresentationLayersAndLieBelowThePointerLayer) {
    win::ComApartment com;
    Backdrop backdrop;
    win::UniqueWindow owner = testing_support::hidden_owner_window(L"Glimmerly.Tests.LoupeLayersOwner");
    auto attached = attach_presentation_state(owner.get(), Settings{});
    ASSERT_TRUE(attached);
    std::unique_ptr<PresentationCell> cell = std::move(*attached);
    {
        auto state = cell->try_borrow();
        ASSERT_TRUE(apply_presentation_features(*state, {.magnifier = true, .keyboard = true}));
        ASSERT_TRUE(state->device_layer && state->pointer_layer && state->loupe);
        const HWND keys = state->device_layer->window.get();
        RECT display{};
        ASSERT_TRUE(GetWindowRect(keys, &display));
        move_pointer((display.left + display.right) / 2, (display.top + display.bottom) / 2);
        ASSERT_TRUE(show_loupe_at_cursor(*state));
        EXPECT_FALSE(beneath_holds(*state->loupe, keys));
        EXPECT_FALSE(beneath_holds(*state->loupe, state->pointer_layer->window.get()));
        EXPECT_EQ(GetWindow(state->pointer_layer->window.get(), GW_HWNDNEXT), state->loupe->window);
    }
    destroy_presentation_state(std::move(cell));
}

// Wine 8 raises no show, hide or location events for windows, and hands no
// event of one process to another's hook: the move is announced here as the
// system announces it, through the loupe's own callback.
TEST(LoupePlacements, AnUnchangedOneMovesNothingAndAWindowMovedBeneathIsShownAtOnce) {
    win::ComApartment com;
    Backdrop backdrop;
    move_pointer(500, 400);
    // Far from the square the loupe reads, (440, 340) to (560, 460).
    auto child = start_child(L"LoupeSolidWindow", {L"1300", L"700", L"200", L"200"});
    ASSERT_TRUE(child);
    const DWORD child_id = GetProcessId(child->get());
    HWND solid = nullptr;
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(solid = window_of(child_id, kSolidClass)); }));

    win::UniqueWindow owner = testing_support::hidden_owner_window(L"Glimmerly.Tests.LoupeOwner", loupe_owner_proc);
    auto attached = attach_presentation_state(owner.get(), Settings{});
    ASSERT_TRUE(attached);
    std::unique_ptr<PresentationCell> cell = std::move(*attached);
    std::uint32_t drawn = 0;
    {
        auto state = cell->try_borrow();
        ASSERT_TRUE(apply_presentation_features(*state, {.magnifier = true}));
        ASSERT_TRUE(state->loupe);
        EXPECT_EQ(state->loupe->hooks.size(), 3u);
        drawn = state->loupe->placements_drawn;
        EXPECT_GE(drawn, 1u);
        EXPECT_FALSE(beneath_holds(*state->loupe, solid));
        ASSERT_TRUE(show_loupe_at_cursor(*state));
        EXPECT_EQ(state->loupe->placements_drawn, drawn);
    }
    g_loupe_cell = cell.get();
    g_refreshes = 0;
    ASSERT_TRUE(SetWindowPos(solid, HWND_TOP, 450, 350, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE));
    // The loupe reads its list of windows again only for a window's own
    // event: one about a part of it changes nothing.
    loupe_window_event(nullptr, EVENT_OBJECT_LOCATIONCHANGE, solid, OBJID_CLIENT, CHILDID_SELF, 0, 0);
    loupe_window_event(nullptr, EVENT_OBJECT_LOCATIONCHANGE, solid, OBJID_WINDOW, 1, 0, 0);
    EXPECT_FALSE(loupe_window_event_pending());
    loupe_window_event(nullptr, EVENT_OBJECT_LOCATIONCHANGE, solid, OBJID_WINDOW, CHILDID_SELF, 0, 0);
    const bool shown = eventually([&] {
        auto state = cell->try_borrow();
        return state && state->loupe && beneath_holds(*state->loupe, solid);
    });
    g_loupe_cell = nullptr;
    EXPECT_TRUE(shown);
    EXPECT_GE(g_refreshes, 1);
    EXPECT_FALSE(loupe_window_event_pending());
    {
        auto state = cell->try_borrow();
        ASSERT_TRUE(state->loupe);
        EXPECT_EQ(state->loupe->placements_drawn, drawn + 1);
    }
    destroy_presentation_state(std::move(cell));
    PostMessageW(solid, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(*child), 0);
}

}  // namespace
}  // namespace glimmerly
