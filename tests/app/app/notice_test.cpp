#include "app/app/notice.h"

#include <gtest/gtest.h>

#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

std::wstring title_of(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

BYTE opacity_of(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
    return alpha;
}

RECT rect_of(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST(Notice, AnAnchoredNoticeShowsOverItsAnchorWithoutFocusAndHidesAfterItsTimers) {
    const PixelRect anchor{200, 100, 1000, 700};
    auto notice = create_notice_window(L"Screenshot saved to the Desktop: 001.png", true, anchor);
    ASSERT_TRUE(notice.ok()) << notice.failure().message;
    const HWND window = notice->get();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(title_of(window), L"Screenshot saved to the Desktop: 001.png");
    // Never the focus; every click goes through to the window below.
    EXPECT_NE(GetForegroundWindow(), window);
    EXPECT_EQ(SendMessageW(window, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(300, 130)), HTTRANSPARENT);
    EXPECT_EQ(opacity_of(window), 89);
    const RECT placed = rect_of(window);
    EXPECT_EQ(placed.top, 124);
    EXPECT_EQ(placed.left - 200, 1000 - placed.right);

    // Its 25 ticks pass; then it hides but stays for its owner to drop.
    MSG message;
    for (const ULONGLONG deadline = GetTickCount64() + 20000; IsWindowVisible(window) && GetTickCount64() < deadline;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindow(window));
    notice->reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST(Notice, AFreeNoticePaintsFullyOpaqueThenFadesAndHides) {
    NoticeWindow current;
    replace_notice(current, NOTICE_COPIED);
    ASSERT_TRUE(current);
    const HWND window = current.get();
    EXPECT_EQ(title_of(window), L"Screenshot copied to clipboard.");
    const RECT placed = rect_of(window);
    EXPECT_EQ(placed.right - placed.left, 360);
    EXPECT_EQ(placed.bottom - placed.top, 56);
    UpdateWindow(window);
    // The display shows a window a moment after it is mapped; until then the
    // screen holds what was below it.
    const HDC screen = GetDC(nullptr);
    COLORREF shown = CLR_INVALID;
    testing_support::eventually([&] {
        shown = GetPixel(screen, placed.left + 6, (placed.top + placed.bottom) / 2);
        return shown == RGB(0x26, 0x26, 0x26);
    });
    EXPECT_EQ(shown, RGB(0x26, 0x26, 0x26));
    ReleaseDC(nullptr, screen);

    // The ticks, sent here rather than waited for.
    struct Row {
        const char* name;
        int ticks;
        BYTE opacity;
        bool visible;
    };
    const Row rows[] = {{"full for 1.8 s", 60, 255, true}, {"half at tick 65", 5, 127, true},
                        {"last tick", 4, 25, true}, {"hidden after 70", 1, 25, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int i = 0; i < row.ticks; ++i) SendMessageW(window, WM_TIMER, TIMER_NOTICE, 0);
        EXPECT_EQ(opacity_of(window), row.opacity);
        EXPECT_EQ(IsWindowVisible(window) != FALSE, row.visible);
    }

    // The next notice takes the place of this one, which goes.
    replace_notice(current, NOTICE_SAVED);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(title_of(current.get()), L"Image saved.");
    replace_notice(current, 7);  // no such kind: nothing changes
    EXPECT_EQ(title_of(current.get()), L"Image saved.");
}

}  // namespace
}  // namespace glimmerly
