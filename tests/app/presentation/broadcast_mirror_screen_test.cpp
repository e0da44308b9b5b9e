// The OBS mirror in the real resident under Wine, which cannot compose: the
// program loads with the setting on, the pointer effects and the magnifier
// come up as usual, and no "Glimmerly overlay" window is ever made.

#include <gtest/gtest.h>

#include <string>

#include "app/lib/settings_store.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr wchar_t kMenuCommand[] = L"0x800D";  // WM_APP + 13

class MirrorScreenTest : public ResidentTest {
protected:
    void write_start_settings() override {
        write_settings_with([](Settings& settings) { settings.obs_mirror = true; });
    }
    void post_command(const wchar_t* command) {
        ASSERT_EQ(run_to_end(beside_tests(L"post_message.exe") + L" Glimmerly.Window " + kMenuCommand + L" " + command +
                      L" 0 " + std::to_wstring(resident_.id)),
                  0);
    }
    HWND visible(const wchar_t* window_class) const {
        const HWND window = window_of(resident_.id, window_class);
        return IsWindowVisible(window) ? window : nullptr;
    }
};

TEST_F(MirrorScreenTest, TheProgramPresentsWithTheMirrorOnAndMakesNoMirrorWindow) {
    ASSERT_TRUE(loop_runs(resident_window_));
    post_command(L"101");
    post_command(L"107");
    ASSERT_TRUE(eventually([&] { return visible(L"Glimmerly.Presentation") && visible(L"Glimmerly.Loupe"); }));
    EXPECT_EQ(window_of(resident_.id, L"Glimmerly.Broadcast"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, L"Glimmerly overlay"), nullptr);
    post_command(L"107");
    post_command(L"101");
    EXPECT_TRUE(eventually([&] { return !window_of(resident_.id, L"Glimmerly.Presentation"); }));
    EXPECT_TRUE(loop_runs(resident_window_));
    EXPECT_EQ(WaitForSingleObject(resident_.handle.get(), 0), WAIT_TIMEOUT);
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
