#include "app/presentation/loupe_capture.h"

#include <dxgi.h>
#include <winstring.h>

#include <atomic>
#include <chrono>
#include <cstdio>

#include "app/app/messages.h"
#include "app/presentation/broadcast_mirror.h"
#include "app/presentation/composed_loupe.h"
#include "app/render/renderer_resources.h"
#include "app/win/failure.h"
#include "app/win/system_function.h"
#include "core/presentation/loupe_bands.h"

namespace glimmerly {
namespace {

// Set by the handler on a system thread, cleared by the drains.
std::atomic<bool> g_frame_pending{false};
std::atomic<bool> g_window_left_out_reported{false};

constexpr DXGI_FORMAT kSurfaceFormat = DXGI_FORMAT_B8G8R8A8_UNORM;
constexpr std::int32_t kPoolBuffers = 2;
constexpr auto kFirstFrameWait = std::chrono::milliseconds(100);

using CreateWinrtDevice = HRESULT(WINAPI*)(IDXGIDevice*, IInspectable**);
using GetActivationFactory = HRESULT(WINAPI*)(HSTRING, REFIID, void**);
using CreateString = HRESULT(WINAPI*)(LPCWSTR, UINT32, HSTRING*);
using DeleteString = HRESULT(WINAPI*)(HSTRING);

constexpr GUID guid_of(const InterfaceId& id) {
    return {id.data1, id.data2, id.data3,
            {id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]}};
}
// Answered by the handler so that the free-threaded pool calls it directly
// instead of marshalling each call to the thread that registered it.
constexpr GUID kAgileObject = guid_of(iid::agile_object);

using win::hr_status;

Failure missing(const char* name) { return Failure{E_NOTIMPL_CODE, std::string("The system has no ") + name}; }

// The runtime's entry points are looked up: a system without them (Wine)
// must still load the program.
template <class T>
Result<win::ComPtr<T>> activation_factory(const wchar_t* class_name) {
    const auto get = win::system_function_as<GetActivationFactory>(L"combase.dll", "RoGetActivationFactory");
    const auto create = win::system_function_as<CreateString>(L"combase.dll", "WindowsCreateString");
    const auto drop = win::system_function_as<DeleteString>(L"combase.dll", "WindowsDeleteString");
    if (!get || !create || !drop) return missing("RoGetActivationFactory");
    HSTRING name = nullptr;
    GLIM_TRY(hr_status(create(class_name, UINT32(wcslen(class_name)), &name), "WindowsCreateString"));
    win::ComPtr<T> factory;
    const HRESULT hr = get(name, __uuidof(T), factory.put_void());
    drop(name);
    GLIM_TRY(made(hr, factory, "RoGetActivationFactory"));
    return factory;
}

void close_object(IUnknown* object) noexcept {
    if (!object) return;
    win::ComPtr<wgc::IClosable> closable;
    if (SUCCEEDED(object->QueryInterface(__uuidof(wgc::IClosable), closable.put_void())) && closable)
        (void)closable->Close();
}

class FrameArrivedHandler final : public wgc::IFrameArrivedHandler {
public:
    explicit FrameArrivedHandler(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(wgc::IFrameArrivedHandler) || iid == kAgileObject) {
            *object = static_cast<wgc::IFrameArrivedHandler*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return count_.fetch_add(1) + 1; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = count_.fetch_sub(1) - 1;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Invoke(wgc::IDirect3D11CaptureFramePool*, IInspectable*) noexcept override {
        loupe_frame_arrived(window_);
        return S_OK;
    }

private:
    std::atomic<ULONG> count_{1};
    HWND window_;
};

Result<win::ComPtr<IDCompositionSurface>> make_surface(IDCompositionDesktopDevice& composition, wgc::SizeInt32 size) {
    win::ComPtr<IDCompositionSurface> surface;
    GLIM_TRY(made(composition.CreateSurface(UINT(std::max(size.Width, 1)), UINT(std::max(size.Height, 1)),
                                            kSurfaceFormat, DXGI_ALPHA_MODE_PREMULTIPLIED, surface.put()),
                  surface, "CreateSurface"));
    return surface;
}

// Steps of a drain that follow a frame with content: the surface and pool
// made again for a new size, then the copy.
Status copy_frame(LoupeCapture& capture, wgc::IDirect3D11CaptureFrame& frame, wgc::SizeInt32 size,
                  IDCompositionDesktopDevice& composition, ID3D11DeviceContext& context) {
    if (size.Width != capture.frame_size.Width || size.Height != capture.frame_size.Height) {
        auto surface = make_surface(composition, size);
        if (!surface) return std::move(surface).failure();
        capture.surface = std::move(*surface);
        capture.surface_size = {std::max(size.Width, 1), std::max(size.Height, 1)};
        for (auto& visual : capture.visuals)
            GLIM_TRY(hr_status(visual->SetContent(capture.surface.get()), "SetContent"));
        GLIM_TRY(hr_status(capture.pool->Recreate(capture.device.get(), wgc::kPixelFormatBgra8, kPoolBuffers, size),
                           "Recreate"));
        capture.frame_size = size;
    }
    win::ComPtr<IInspectable> frame_surface;
    GLIM_TRY(made(frame.get_Surface(frame_surface.put()), frame_surface, "get_Surface"));
    auto access = frame_surface.query<wgc::IDirect3DDxgiInterfaceAccess>();
    if (!access) return std::move(access).failure();
    win::ComPtr<ID3D11Texture2D> source;
    GLIM_TRY(made((*access)->GetInterface(__uuidof(ID3D11Texture2D), source.put_void()), source, "GetInterface"));
    D3D11_TEXTURE2D_DESC described{};
    source->GetDesc(&described);
    const FrameCopySize copy = frame_copy_size(size.Width, size.Height, described.Width, described.Height,
                                               capture.surface_size.Width, capture.surface_size.Height);
    if (copy.empty()) return ok_status();
    win::ComPtr<ID3D11Texture2D> target;
    POINT offset{};
    GLIM_TRY(made(capture.surface->BeginDraw(nullptr, __uuidof(ID3D11Texture2D), target.put_void(), &offset), target,
                  "BeginDraw"));
    const D3D11_BOX box{0, 0, 0, UINT(copy.width), UINT(copy.height), 1};
    context.CopySubresourceRegion(target.get(), 0, UINT(offset.x), UINT(offset.y), 0, source.get(), 0, &box);
    return hr_status(capture.surface->EndDraw(), "EndDraw");
}

Status start_capture(LoupeCapture& capture, HWND event_window, ID3D11Device& device,
                     IDCompositionDesktopDevice& composition) {
    win::ComPtr<IDXGIDevice> dxgi;
    GLIM_TRY(made(device.QueryInterface(__uuidof(IDXGIDevice), dxgi.put_void()), dxgi, "QueryInterface IDXGIDevice"));
    const auto create_device =
        win::system_function_as<CreateWinrtDevice>(L"d3d11.dll", "CreateDirect3D11DeviceFromDXGIDevice");
    if (!create_device) return missing("CreateDirect3D11DeviceFromDXGIDevice");
    win::ComPtr<IInspectable> inspectable;
    GLIM_TRY(made(create_device(dxgi.get(), inspectable.put()), inspectable, "CreateDirect3D11DeviceFromDXGIDevice"));
    auto winrt_device = inspectable.query<wgc::IDirect3DDevice>();
    if (!winrt_device) return std::move(winrt_device).failure();
    capture.device = std::move(*winrt_device);

    auto interop = activation_factory<wgc::IGraphicsCaptureItemInterop>(L"Windows.Graphics.Capture.GraphicsCaptureItem");
    if (!interop) return std::move(interop).failure();
    GLIM_TRY(made((*interop)->CreateForWindow(capture.window, __uuidof(wgc::IGraphicsCaptureItem),
                                              capture.item.put_void()),
                  capture.item, "CreateForWindow"));
    GLIM_TRY(hr_status(capture.item->get_Size(&capture.frame_size), "get_Size"));

    auto statics = activation_factory<wgc::IDirect3D11CaptureFramePoolStatics2>(
        L"Windows.Graphics.Capture.Direct3D11CaptureFramePool");
    if (!statics) return std::move(statics).failure();
    GLIM_TRY(made((*statics)->CreateFreeThreaded(capture.device.get(), wgc::kPixelFormatBgra8, kPoolBuffers,
                                                 capture.frame_size, capture.pool.put()),
                  capture.pool, "CreateFreeThreaded"));
    const auto handler = make_frame_arrived_handler(event_window);
    wgc::EventRegistrationToken token{};
    GLIM_TRY(hr_status(capture.pool->add_FrameArrived(handler.get(), &token), "add_FrameArrived"));
    capture.token = token;
    GLIM_TRY(made(capture.pool->CreateCaptureSession(capture.item.get(), capture.session.put()), capture.session,
                  "CreateCaptureSession"));
    // Older systems lack these switches: the capture goes on with the cursor or border.
    if (const auto cursor = capture.session.try_query<wgc::IGraphicsCaptureSession2>())
        (void)cursor->put_IsCursorCaptureEnabled(false);
    if (const auto border = capture.session.try_query<wgc::IGraphicsCaptureSession3>())
        (void)border->put_IsBorderRequired(false);

    auto surface = make_surface(composition, capture.frame_size);
    if (!surface) return std::move(surface).failure();
    capture.surface = std::move(*surface);
    capture.surface_size = {std::max(capture.frame_size.Width, 1), std::max(capture.frame_size.Height, 1)};
    for (auto& visual : capture.visuals) {
        GLIM_TRY(made(composition.CreateVisual(visual.put()), visual, "CreateVisual"));
        GLIM_TRY(hr_status(visual->SetContent(capture.surface.get()), "SetContent"));
        GLIM_TRY(hr_status(visual->SetBorderMode(DCOMPOSITION_BORDER_MODE_HARD), "SetBorderMode"));
    }
    return hr_status(capture.session->StartCapture(), "StartCapture");
}

}  // namespace

LoupeCapture::~LoupeCapture() {
    if (pool && token) (void)pool->remove_FrameArrived(*token);
    close_object(session.get());
    close_object(pool.get());
    item.reset();
    device.reset();
    pool.reset();
    session.reset();
    surface.reset();
    for (auto& visual : visuals) visual.reset();
}

Result<std::unique_ptr<LoupeCapture>> create_loupe_capture(HWND window, HWND event_window, ID3D11Device& device,
                                                           ID3D11DeviceContext& context,
                                                           IDCompositionDesktopDevice& composition) {
    auto capture = std::make_unique<LoupeCapture>();
    capture->window = window;
    GLIM_TRY(start_capture(*capture, event_window, device, composition));
    // The first frame is usually there within a few milliseconds; one that
    // comes later still shows once the handler announces it.
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        auto taken = drain_loupe_frame_pool(*capture, composition, context);
        if (!taken) return std::move(taken).failure();
        if (*taken || std::chrono::steady_clock::now() - started >= kFirstFrameWait) break;
        Sleep(2);
    }
    return capture;
}

Result<bool> drain_loupe_frame_pool(LoupeCapture& capture, IDCompositionDesktopDevice& composition,
                                    ID3D11DeviceContext& context) {
    win::ComPtr<wgc::IDirect3D11CaptureFrame> newest;
    for (;;) {
        win::ComPtr<wgc::IDirect3D11CaptureFrame> frame;
        if (FAILED(capture.pool->TryGetNextFrame(frame.put())) || !frame) break;
        // Only the newest is copied: older ones give their buffer back unread.
        close_object(newest.get());
        newest = std::move(frame);
    }
    if (!newest) return false;
    wgc::SizeInt32 size{0, 0};
    Status copied = hr_status(newest->get_ContentSize(&size), "get_ContentSize");
    if (copied && size.Width > 0 && size.Height > 0) copied = copy_frame(capture, *newest.get(), size, composition, context);
    close_object(newest.get());
    if (!copied) return std::move(copied).failure();
    return true;
}

void drain_composed_loupe_frames(ComposedLoupe& composed) {
    if (composed.captures.empty()) return;
    bool taken = false;
    Status drained;
    for (const auto& capture : composed.captures) {
        auto one = drain_loupe_frame_pool(*capture, *composed.composition.get(), *composed.context.get());
        if (!one) {
            drained = std::move(one).failure();
            break;
        }
        taken = taken || *one;
    }
    if (drained && taken) drained = hr_status(composed.composition->Commit(), "Commit");
    if (!drained) report_window_left_out(drained.failure().message);
}

win::ComPtr<wgc::IFrameArrivedHandler> make_frame_arrived_handler(HWND window) {
    return win::ComPtr<wgc::IFrameArrivedHandler>::adopt(new FrameArrivedHandler(window));
}

void loupe_frame_arrived(HWND window) noexcept {
    if (g_frame_pending.exchange(true)) return;
    // A failed post would leave the flag set and silence every later frame:
    // the next frame tries again instead.
    if (!PostMessageW(window, WM_APP_LOUPE_FRAME_ARRIVED, 0, 0)) g_frame_pending.store(false);
}

void clear_loupe_frame_pending() noexcept { g_frame_pending.store(false); }
bool loupe_frame_pending() noexcept { return g_frame_pending.load(); }

void report_window_left_out(const std::string& text) {
    if (g_window_left_out_reported.exchange(true)) return;
    std::fprintf(stderr, "Loupe: a window left out (%s)\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace glimmerly
