// The OBS mirror under Wine, whose DirectComposition cannot make a device:
// the setting on leaves every layer unmirrored (slot 255), makes no
// "Glimmerly overlay" window and stops nothing. And the loupe's frame
// handler, a plain COM object: what it answers, and its one message at a time.

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "app/presentation/capture_interfaces.h"
#include "app/presentation/loupe_capture.h"
#include "app/presentation/presentation.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

// The mirror windows of this process.
int mirror_windows() {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Broadcast", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == GetCurrentProcessId()) ++count;
    }
    return count + (FindWindowW(nullptr, L"Glimmerly overlay") ? 1 : 0);
}

class BroadcastMirrorTest : public testing_support::PresentationFixture {};

TEST_F(BroadcastMirrorTest, WithoutCompositionEveryLayerStaysUnmirroredAndNoMirrorWindowIsLeft) {
    settings_.obs_mirror = true;
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.pointer_effects = true, .temporary_shapes = true, .keyboard = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 91));
    ASSERT_TRUE(state->pointer_layer);
    ASSERT_TRUE(state->device_layer);
    ASSERT_TRUE(state->shapes_layer);
    for (const PresentationLayer* layer : {state->pointer_layer.get(), state->device_layer.get(), state->shapes_layer.get()}) {
        EXPECT_EQ(layer->mirror.slot, 255);
        EXPECT_FALSE(layer->mirror.mirror);
        EXPECT_TRUE(IsWindowVisible(layer->window.get()));
    }
    EXPECT_FALSE(state->mirror);
    EXPECT_EQ(mirror_windows(), 0);
    EXPECT_TRUE(any_feature(state->features));
}

TEST_F(BroadcastMirrorTest, TurnedOnWhilePresentingTriesTheLayersThatExistAndLeavesThemWorking) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.pointer_effects = true, .keyboard = true}));
    settings_.obs_mirror = true;
    ASSERT_TRUE(apply_presentation_settings(*state, settings_));
    EXPECT_TRUE(state->obs_mirror);
    EXPECT_EQ(state->pointer_layer->mirror.slot, 255);
    EXPECT_EQ(state->device_layer->mirror.slot, 255);
    EXPECT_EQ(mirror_windows(), 0);
    EXPECT_TRUE(state->features.pointer_effects && state->features.keyboard);
}

// Everything waiting for the window, removed; how many there were.
int frame_messages(HWND window) {
    int count = 0;
    MSG message{};
    while (PeekMessageW(&message, window, WM_APP_LOUPE_FRAME_ARRIVED, WM_APP_LOUPE_FRAME_ARRIVED, PM_REMOVE)) ++count;
    return count;
}

TEST_F(BroadcastMirrorTest, FrameHandlerAnswersItsThreeInterfacesOnly) {
    const auto handler = make_frame_arrived_handler(owner_.get());
    const GUID agile{0x94EA2B94, 0xE9CC, 0x49E0, {0xC0, 0xFF, 0xEE, 0x64, 0xCA, 0x8F, 0x5B, 0x90}};
    struct Row {
        const char* name;
        GUID iid;
        bool answered;
    };
    const Row rows[] = {
        {"IUnknown", __uuidof(IUnknown), true},
        {"its delegate", __uuidof(wgc::IFrameArrivedHandler), true},
        {"IAgileObject", agile, true},
        {"IInspectable", __uuidof(IInspectable), false},
        {"IMarshal", __uuidof(IMarshal), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IUnknown* answer = reinterpret_cast<IUnknown*>(1);
        const HRESULT hr = handler->QueryInterface(row.iid, reinterpret_cast<void**>(&answer));
        EXPECT_EQ(hr, row.answered ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(answer != nullptr, row.answered);
        if (answer) {
            EXPECT_EQ(answer->Release(), 1u);
        }
    }
}

TEST_F(BroadcastMirrorTest, ManyFramesBetweenDrainsPostOneMessageAndAFailedPostSilencesNothing) {
    Loupe banded;
    const auto handler = make_frame_arrived_handler(owner_.get());
    clear_loupe_frame_pending();
    for (int frame = 0; frame < 5; ++frame) EXPECT_EQ(handler->Invoke(nullptr, nullptr), S_OK);
    EXPECT_EQ(frame_messages(owner_.get()), 1);
    drain_loupe_frames(banded);
    EXPECT_FALSE(loupe_frame_pending());
    (void)handler->Invoke(nullptr, nullptr);
    EXPECT_EQ(frame_messages(owner_.get()), 1);
    drain_loupe_frames(banded);

    // A window that is gone refuses the post: the next frame, announced to a
    // window that exists, still gets through.
    const auto lost = make_frame_arrived_handler(reinterpret_cast<HWND>(std::uintptr_t(0x7FFF0)));
    (void)lost->Invoke(nullptr, nullptr);
    EXPECT_FALSE(loupe_frame_pending());
    (void)handler->Invoke(nullptr, nullptr);
    EXPECT_EQ(frame_messages(owner_.get()), 1);
    drain_loupe_frames(banded);
}

}  // namespace
}  // namespace glimmerly
