#include "app/presentation/broadcast_mirror.h"

#include <dxgi.h>

#include <utility>

#include "app/presentation/layer.h"
#include "app/presentation/presentation.h"
#include "app/presentation/spotlight.h"
#include "app/win/failure.h"
#include "app/win/system_function.h"

namespace glimmerly {
namespace {

using CreateCompositionDevice = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);

// Set while an operation works on the mirror; a call that comes back into
// it (a message pumped by the platform) finds it busy and does nothing.
class MirrorInUse {
public:
    explicit MirrorInUse(BroadcastMirror& mirror) : mirror_(mirror), entered_(!mirror.in_use) {
        mirror_.in_use = true;
    }
    ~MirrorInUse() {
        if (entered_) mirror_.in_use = false;
    }
    MirrorInUse(const MirrorInUse&) = delete;
    MirrorInUse& operator=(const MirrorInUse&) = delete;
    bool entered() const { return entered_; }

private:
    BroadcastMirror& mirror_;
    bool entered_;
};

Status register_broadcast_class() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = plain_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = BROADCAST_WINDOW_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", BROADCAST_WINDOW_CLASS);
    return ok_status();
}

using win::hr_status;

Result<std::shared_ptr<BroadcastMirror>> make_broadcast_mirror(HWND owner) {
    GLIM_TRY(register_broadcast_class());
    auto mirror = std::make_shared<BroadcastMirror>();
    mirror->origin_x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    mirror->origin_y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    mirror->window.reset(CreateWindowExW(WS_EX_NOREDIRECTIONBITMAP | WS_EX_NOACTIVATE, BROADCAST_WINDOW_CLASS,
                                         BROADCAST_WINDOW_TITLE, WS_POPUP, -32000, -32000, width, height, owner,
                                         nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!mirror->window) return win::win32_failure("CreateWindowExW", BROADCAST_WINDOW_CLASS);
    // From here on a failure drops the mirror, and with it the window.
    auto d3d = create_mirror_d3d_device();
    if (!d3d) return std::move(d3d).failure();
    auto dxgi = d3d->device.query<IDXGIDevice>();
    if (!dxgi) return std::move(dxgi).failure();
    const auto create = win::system_function_as<CreateCompositionDevice>(L"dcomp.dll", "DCompositionCreateDevice");
    if (!create) return Failure{E_NOTIMPL_CODE, "The system has no DCompositionCreateDevice"};
    GLIM_TRY(made(create(dxgi->get(), __uuidof(IDCompositionDevice), mirror->device.put_void()), mirror->device,
                  "DCompositionCreateDevice"));
    mirror->context = std::move(d3d->context);
    IDCompositionDevice& device = *mirror->device.get();
    GLIM_TRY(made(device.CreateTargetForHwnd(mirror->window.get(), TRUE, mirror->target.put()), mirror->target,
                  "CreateTargetForHwnd"));
    GLIM_TRY(made(device.CreateVisual(mirror->root.put()), mirror->root, "CreateVisual"));
    for (auto& visual : mirror->visuals) {
        GLIM_TRY(made(device.CreateVisual(visual.put()), visual, "CreateVisual"));
        GLIM_TRY(hr_status(mirror->root->AddVisual(visual.get(), FALSE, nullptr), "AddVisual"));
    }
    GLIM_TRY(hr_status(mirror->target->SetRoot(mirror->root.get()), "SetRoot"));
    GLIM_TRY(hr_status(device.Commit(), "Commit"));
    ShowWindow(mirror->window.get(), SW_SHOWNOACTIVATE);
    return mirror;
}

// Steps 6 to 10 of a sync: any failure stops the mirror.
Status sync_slot(BroadcastMirror& mirror, std::uint8_t index, HWND window, const RECT& rect, bool visible,
                 const std::optional<MirrorPixels>& upload) {
    MirrorSlot& slot = mirror.slots[index];
    if (upload) {
        const std::int32_t w = rect.right - rect.left, h = rect.bottom - rect.top;
        const bool fits = slot.surface && slot.owner == window && slot.width == std::uint32_t(w) &&
                          slot.height == std::uint32_t(h);
        const MirrorUploadPlan plan = plan_mirror_upload(upload->length, upload->region, w, h, fits);
        if (plan.refused) return invalid_input("the layer's picture does not match its window");
        if (plan.new_surface) {
            win::ComPtr<IDCompositionSurface> surface;
            GLIM_TRY(made(mirror.device->CreateSurface(UINT(w), UINT(h), DXGI_FORMAT_B8G8R8A8_UNORM,
                                                       DXGI_ALPHA_MODE_PREMULTIPLIED, surface.put()),
                          surface, "CreateSurface"));
            slot = {std::move(surface), window, std::uint32_t(w), std::uint32_t(h)};
        }
        const PixelRect& region = plan.region;
        if (region.right > region.left && region.bottom > region.top) {
            const RECT area{region.left, region.top, region.right, region.bottom};
            win::ComPtr<ID3D11Texture2D> texture;
            POINT offset{};
            GLIM_TRY(made(slot.surface->BeginDraw(&area, __uuidof(ID3D11Texture2D), texture.put_void(), &offset),
                          texture, "BeginDraw"));
            const MirrorCopyBox copy = mirror_copy_box(region, offset.x, offset.y, w);
            const D3D11_BOX box{copy.left, copy.top, 0, copy.right, copy.bottom, 1};
            mirror.context->UpdateSubresource(texture.get(), 0, &box, upload->pixels + copy.source_offset,
                                              copy.row_pitch, 0);
            GLIM_TRY(hr_status(slot.surface->EndDraw(), "EndDraw"));
            ++mirror.uploads;
            mirror.uploaded_pixels += std::uint64_t(region.width()) * std::uint64_t(region.height());
        }
    }
    IDCompositionVisual& visual = *mirror.visuals[index].get();
    GLIM_TRY(hr_status(visual.SetOffsetX(float(rect.left - mirror.origin_x)), "SetOffsetX"));
    GLIM_TRY(hr_status(visual.SetOffsetY(float(rect.top - mirror.origin_y)), "SetOffsetY"));
    GLIM_TRY(hr_status(visual.SetContent(visible && slot.surface ? slot.surface.get() : nullptr), "SetContent"));
    return hr_status(mirror.device->Commit(), "Commit");
}

}  // namespace

BroadcastMirror::~BroadcastMirror() { destroy_broadcast_mirror(*this); }

void destroy_broadcast_mirror(BroadcastMirror& mirror) noexcept {
    mirror.window.reset();
    mirror.context.reset();
    mirror.device.reset();
    mirror.target.reset();
    mirror.root.reset();
    for (auto& visual : mirror.visuals) visual.reset();
    for (MirrorSlot& slot : mirror.slots) slot = {};
}

MirrorLink::~MirrorLink() { reset(); }

void MirrorLink::reset() noexcept {
    if (mirror && slot < kMirrorSlotCount && !mirror->failed) {
        BroadcastMirror& m = *mirror;
        MirrorInUse use(m);
        MirrorSlot& held = m.slots[slot];
        // A surface of another window (a layer that replaced this one) stays.
        if (use.entered() && (!held.surface || held.owner == window)) {
            held = {};
            if (FAILED(m.visuals[slot]->SetContent(nullptr)) || FAILED(m.device->Commit())) m.failed = true;
        }
    }
    mirror.reset();
    slot = kNoMirrorSlot;
    window = nullptr;
}

Result<D3DDevice> create_mirror_d3d_device() {
    // Looked up, not imported: an import loads Direct3D, and under Wine
    // OpenGL with it, into every process at its start, a cold editor child's
    // too, before its capture can show.
    const auto create = win::system_function_as<decltype(&D3D11CreateDevice)>(L"d3d11.dll", "D3D11CreateDevice");
    if (!create) return win::win32_failure("GetProcAddress", L"D3D11CreateDevice");
    Failure last{E_FAIL_CODE, "D3D11CreateDevice made no device"};
    for (const D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        D3DDevice made;
        const HRESULT hr = create(nullptr, type, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, nullptr, 0,
                                  D3D11_SDK_VERSION, made.device.put(), nullptr, made.context.put());
        if (SUCCEEDED(hr) && made.device && made.context) return made;
        last = FAILED(hr) ? win::hr_failure(hr, "D3D11CreateDevice")
                          : Failure{E_FAIL_CODE, "D3D11CreateDevice made no device"};
    }
    return last;
}

void attach_broadcast_mirror(PresentationState& state, PresentationLayer& layer, std::uint8_t slot) {
    if (!state.mirror && state.obs_mirror) {
        // Making it fails silently (always under Wine): the next attach tries again.
        if (auto made = make_broadcast_mirror(state.window)) state.mirror = std::move(*made);
    }
    layer.mirror.reset();
    if (!state.mirror || slot >= kMirrorSlotCount) return;
    layer.mirror.mirror = state.mirror;
    layer.mirror.slot = slot;
    layer.mirror.window = layer.window.get();
}

void mirror_layer_to_broadcast(PresentationLayer& layer, const std::optional<MirrorPixels>& upload) {
    MirrorLink& link = layer.mirror;
    if (!link.mirror || link.slot >= kMirrorSlotCount) return;
    BroadcastMirror& mirror = *link.mirror;
    MirrorInUse use(mirror);
    if (!use.entered()) return;
    const HWND window = layer.window.get();
    const bool visible = IsWindowVisible(window) != FALSE;
    RECT rect{};
    if (!GetWindowRect(window, &rect)) mirror.failed = true;
    if (mirror.failed) return;
    const MirrorSlot& slot = mirror.slots[link.slot];
    if (!upload && slot.surface && slot.owner != window) return;
    if (!sync_slot(mirror, link.slot, window, rect, visible, upload)) mirror.failed = true;
}

}  // namespace glimmerly
