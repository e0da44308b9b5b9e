#include "app/render/renderer_thread.h"

#include <utility>

#include "app/app/messages.h"
#include "app/render/capture_region.h"

namespace glimmerly {

void renderer_thread_main(RendererSender sender, HWND window, bool premultiplied) noexcept {
    try {
        RendererMessage message = create_renderer_resources(false, premultiplied);
        if (sender.send(message)) PostMessageW(window, WM_APP_RENDERER_READY, 0, 0);
        // Otherwise `message` still holds the resources and releases them here.
    } catch (...) {
        // Out of memory while queueing: the window keeps the resources it has.
    }
}

Status spawn_renderer_thread(RendererSlot& slot, bool premultiplied, HWND window, win::CreateThreadCall create) {
    auto [sender, receiver] = make_channel<RendererMessage>();
    auto thread = win::start_named_thread(
        L"Glimmerly renderer",
        [sender = std::move(sender), window, premultiplied]() mutable {
            renderer_thread_main(std::move(sender), window, premultiplied);
        },
        create);
    if (!thread) return std::move(thread).failure();
    // The handle closes here: the thread runs detached and ends by itself.
    slot.receiver.emplace(std::move(receiver));
    return ok_status();
}

Status receive_renderer_resources(RendererSlot& slot, bool premultiplied, const BgraImage& frame) {
    if (!slot.receiver) return ok_status();
    ChannelPoll<RendererMessage> poll = slot.receiver->try_receive();
    if (std::holds_alternative<ChannelEmpty>(poll)) return ok_status();
    slot.receiver.reset();
    auto* message = std::get_if<RendererMessage>(&poll);
    if (!message || !message->ok()) return ok_status();

    std::unique_ptr<RendererResources> resources = std::move(**message);
    if (resources->premultiplied != premultiplied) {
        auto rebuilt = create_renderer_resources(resources->software, premultiplied);
        if (!rebuilt) return std::move(rebuilt).failure();
        resources = std::move(*rebuilt);
    }
    if (!resources->premultiplied) GLIM_TRY(set_background_image(*resources, frame));
    slot.resources = std::move(resources);
    slot.gdi_surface.reset();
    return ok_status();
}

}  // namespace glimmerly
