// Handing renderer resources from the renderer thread to a capture window.

#include "app/render/renderer_thread.h"

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "app/render/capture_region.h"
#include "tests/app/render/render_support.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

constexpr Rgb kFrameColour{200, 60, 20};

// A message-only window that receives the ready message in this thread's queue.
win::UniqueWindow message_window() {
    return win::UniqueWindow(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr));
}

bool take_ready_message(HWND window) {
    MSG message;
    return PeekMessageW(&message, window, WM_APP_RENDERER_READY, WM_APP_RENDERER_READY, PM_REMOVE) != 0;
}

// Waits for the ready message as long as a slow machine may need, without
// spinning: the wait wakes on each posted message.
bool wait_for_ready_message(HWND window) {
    const ULONGLONG deadline = GetTickCount64() + 60'000;
    while (!take_ready_message(window)) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_POSTMESSAGE);
    }
    return true;
}

// The colour of the middle of a frame begun on the resources' DC target.
Rgb frame_centre(RendererResources& resources, std::uint32_t width, std::uint32_t height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(width), -static_cast<LONG>(height), 1, 32, BI_RGB};
    void* bits = nullptr;
    win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    win::UniqueBitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::SelectedObject selected(dc.get(), dib.get());
    const Status begun = begin_dc_frame(resources, dc.get(), width, height);
    EXPECT_TRUE(begun) << begun.failure().message;
    EXPECT_EQ(resources.dc_target->EndDraw(), S_OK);
    GdiFlush();
    const auto* p = static_cast<const std::uint8_t*>(bits) + (std::size_t{height / 2} * width + width / 2) * 4;
    return {p[2], p[1], p[0]};
}

class RendererThread : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        ASSERT_TRUE(window_);
    }
    win::ComApartment com_;
    win::UniqueWindow window_ = message_window();
};

TEST_F(RendererThread, PostsReadyOnlyWhileSomeoneWaitsForTheResources) {
    for (const bool receiver_kept : {true, false}) {
        SCOPED_TRACE(receiver_kept ? "receiver kept" : "receiver dropped");
        auto [sender, receiver] = make_channel<RendererMessage>();
        std::optional<RendererReceiver> kept(std::move(receiver));
        if (!receiver_kept) kept.reset();
        renderer_thread_main(std::move(sender), window_.get(), false);
        EXPECT_EQ(take_ready_message(window_.get()), receiver_kept);
        if (kept) {
            EXPECT_EQ(kept->try_receive().index(), 2u);
        }
    }
}

TEST_F(RendererThread, TheWindowTakesTheThreadsResourcesWithItsFrameAsBackgroundOnce) {
    EditorState state;
    state.frozen_frame = testing::plain_picture(40, 30, kFrameColour);
    ASSERT_TRUE(spawn_renderer_thread(state, window_.get()));
    ASSERT_TRUE(wait_for_ready_message(window_.get()));
    const Status received = receive_renderer_resources(state);
    ASSERT_TRUE(received) << received.failure().message;
    RendererSlot& slot = state.window->renderer;
    ASSERT_TRUE(slot.resources);
    EXPECT_FALSE(slot.receiver);
    EXPECT_EQ(frame_centre(*slot.resources, 40, 30), kFrameColour);

    // A second ready message finds nothing to take.
    RendererResources* installed = slot.resources.get();
    ASSERT_TRUE(receive_renderer_resources(state));
    EXPECT_EQ(slot.resources.get(), installed);
}

TEST_F(RendererThread, ResourcesBuiltForAnotherAlphaModeAreBuiltAgainWithoutBackground) {
    struct Row {
        const char* name;
        bool window_wants_premultiplied;
        bool background_shown;
    };
    const Row rows[] = {{"same mode", false, true}, {"switched to premultiplied", true, false}};
    const BgraImage frame = testing::plain_picture(40, 30, kFrameColour);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RendererSlot slot;
        auto [sender, receiver] = make_channel<RendererMessage>();
        slot.receiver.emplace(std::move(receiver));
        RendererMessage sent = create_renderer_resources(false, false);
        ASSERT_TRUE(sender.send(sent));
        const Status received = receive_renderer_resources(slot, row.window_wants_premultiplied, frame);
        ASSERT_TRUE(received) << received.failure().message;
        ASSERT_TRUE(slot.resources);
        EXPECT_EQ(slot.resources->premultiplied, row.window_wants_premultiplied);
        EXPECT_EQ(frame_centre(*slot.resources, 40, 30) == kFrameColour, row.background_shown);
    }
}

}  // namespace
}  // namespace glimmerly
