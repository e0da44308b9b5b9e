#pragma once
// The "Glimmerly renderer" thread: builds a capture window's renderer
// resources off the interface thread and hands them over through a channel,
// then tells the window with WM_APP_RENDERER_READY. The window takes them in
// when the message arrives.

#include <windows.h>

#include <memory>
#include <optional>

#include "app/render/renderer_resources.h"
#include "app/win/owners.h"
#include "app/win/threads.h"
#include "core/base/channel.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

using RendererMessage = Result<std::unique_ptr<RendererResources>>;
using RendererSender = ChannelSender<RendererMessage>;
using RendererReceiver = ChannelReceiver<RendererMessage>;

// The GDI surface a capture window shows before its renderer resources exist:
// the screen DC, a memory DC and the bitmap selected into it. Members in
// creation order, so the bitmap is selected out before it is deleted.
struct TemporaryGdiSurface {
    win::WindowDc screen;
    win::UniqueMemoryDc memory;
    win::UniqueBitmap bitmap;
    win::SelectedObject selection;
};

// A capture window's part in the hand-over.
struct RendererSlot {
    std::unique_ptr<RendererResources> resources;
    std::optional<RendererReceiver> receiver;  // full between spawn and receive
    std::optional<TemporaryGdiSurface> gdi_surface;
};

// Starts the thread for `window`; the receiving end goes into the slot,
// replacing any earlier one. The thread builds hardware resources with the
// premultiplied flag as it is now. When no thread can be started the slot is
// unchanged and the failure is CreateThread's, with its code.
Status spawn_renderer_thread(RendererSlot& slot, bool premultiplied, HWND window,
                             win::CreateThreadCall create = CreateThread);

// The thread's body: builds the resources, sends them (or the failure), and
// posts WM_APP_RENDERER_READY to the window only when the send succeeded.
// When the receiver is already gone the resources are released here.
void renderer_thread_main(RendererSender sender, HWND window, bool premultiplied) noexcept;

// On WM_APP_RENDERER_READY. Nothing waiting: the receiver stays. Otherwise
// the receiver is dropped; a failure that came through is dropped too.
// Resources made with a premultiplied flag the window no longer wants are
// built again with the current one. Resources without premultiplied alpha get
// `frame` as their background. On success they replace the slot's resources
// and the temporary GDI surface is freed; on failure the old ones stay.
Status receive_renderer_resources(RendererSlot& slot, bool premultiplied, const BgraImage& frame);

}  // namespace glimmerly
