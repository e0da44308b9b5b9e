#include "app/session/desktop_duplication.h"

#include <dxgi1_2.h>

#include <thread>

#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "core/image/mapped_frame.h"

namespace glimmerly {
namespace {

using Clock = std::chrono::steady_clock;
using CreateFactoryFunction = HRESULT(WINAPI*)(REFIID, void**);

Failure missing_function(const char* name) {
    return Failure{E_NOTIMPL_CODE, std::string("The system has no ") + name};
}

// Looked up rather than imported, so that a system whose libraries lack them
// still starts the program (see the GDI grab that then takes over). The
// modules are declared first and so are freed after every interface made
// from them.
struct DuplicationFunctions {
    win::UniqueModule dxgi;
    win::UniqueModule d3d11;
    CreateFactoryFunction create_factory = nullptr;
    PFN_D3D11_CREATE_DEVICE create_device = nullptr;
};

Result<DuplicationFunctions> load_functions() {
    DuplicationFunctions f;
    f.dxgi.reset(LoadLibraryW(L"dxgi.dll"));
    if (!f.dxgi) return win::win32_failure("LoadLibraryW", L"dxgi.dll");
    f.d3d11.reset(LoadLibraryW(L"d3d11.dll"));
    if (!f.d3d11) return win::win32_failure("LoadLibraryW", L"d3d11.dll");
    f.create_factory = reinterpret_cast<CreateFactoryFunction>(
        reinterpret_cast<void*>(GetProcAddress(f.dxgi.get(), "CreateDXGIFactory1")));
    if (!f.create_factory) return missing_function("CreateDXGIFactory1");
    f.create_device = reinterpret_cast<PFN_D3D11_CREATE_DEVICE>(
        reinterpret_cast<void*>(GetProcAddress(f.d3d11.get(), "D3D11CreateDevice")));
    if (!f.create_device) return missing_function("D3D11CreateDevice");
    return f;
}

struct MatchedOutput {
    win::ComPtr<IDXGIAdapter1> adapter;
    win::ComPtr<IDXGIOutput1> output;
    UINT rotation = 0;
};

Result<MatchedOutput> find_output(IDXGIFactory1& factory, HMONITOR monitor) {
    for (UINT a = 0;; ++a) {
        MatchedOutput found;
        HRESULT hr = factory.EnumAdapters1(a, found.adapter.put());
        if (hr == DXGI_ERROR_NOT_FOUND) return Failure{DXGI_NOT_FOUND_CODE, "The game monitor is no longer available"};
        if (FAILED(hr)) return win::hr_failure(hr, "IDXGIFactory1::EnumAdapters1");
        for (UINT o = 0;; ++o) {
            win::ComPtr<IDXGIOutput> output;
            hr = found.adapter->EnumOutputs(o, output.put());
            if (hr == DXGI_ERROR_NOT_FOUND) break;
            if (FAILED(hr)) return win::hr_failure(hr, "IDXGIAdapter1::EnumOutputs");
            DXGI_OUTPUT_DESC desc{};
            hr = output->GetDesc(&desc);
            if (FAILED(hr)) return win::hr_failure(hr, "IDXGIOutput::GetDesc");
            if (desc.Monitor != monitor || !desc.AttachedToDesktop) continue;
            found.rotation = static_cast<UINT>(desc.Rotation);
            found.output = output.try_query<IDXGIOutput1>();
            if (!found.output) return win::hr_failure(E_POINTER, "IDXGIOutput1");
            return found;
        }
    }
}

// An acquired frame must be given back before the next one, on every way out.
class HeldFrame {
public:
    explicit HeldFrame(IDXGIOutputDuplication& duplication) : duplication_(&duplication) {}
    HeldFrame(const HeldFrame&) = delete;
    HeldFrame& operator=(const HeldFrame&) = delete;
    ~HeldFrame() {
        if (duplication_) duplication_->ReleaseFrame();
    }
    HRESULT release() { return std::exchange(duplication_, nullptr)->ReleaseFrame(); }

private:
    IDXGIOutputDuplication* duplication_;
};

class MappedTexture {
public:
    MappedTexture(ID3D11DeviceContext& context, ID3D11Texture2D& texture) : context_(context), texture_(texture) {}
    MappedTexture(const MappedTexture&) = delete;
    MappedTexture& operator=(const MappedTexture&) = delete;
    ~MappedTexture() {
        if (mapped_) context_.Unmap(&texture_, 0);
    }
    // The staging copy is read once the GPU has finished it; until the
    // deadline the map is tried again every millisecond.
    Status map(Clock::time_point deadline) {
        for (;;) {
            const HRESULT hr = context_.Map(&texture_, 0, D3D11_MAP_READ, D3D11_MAP_FLAG_DO_NOT_WAIT, &data_);
            if (SUCCEEDED(hr)) break;
            if (hr != DXGI_ERROR_WAS_STILL_DRAWING || Clock::now() >= deadline)
                return win::hr_failure(hr, "ID3D11DeviceContext::Map");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        mapped_ = true;
        return ok_status();
    }
    const D3D11_MAPPED_SUBRESOURCE& data() const { return data_; }

private:
    ID3D11DeviceContext& context_;
    ID3D11Texture2D& texture_;
    D3D11_MAPPED_SUBRESOURCE data_{};
    bool mapped_ = false;
};

}  // namespace

bool duplication_unavailable(std::int32_t code) {
    return code == E_NOTIMPL_CODE || code == DXGI_UNSUPPORTED_CODE || code == DXGI_NOT_CURRENTLY_AVAILABLE_CODE;
}

Result<BgraImage> copy_duplicated_frame(ID3D11Device& device, ID3D11DeviceContext& context, ID3D11Texture2D& frame,
                                        UINT rotation, Clock::time_point deadline) {
    D3D11_TEXTURE2D_DESC desc{};
    frame.GetDesc(&desc);
    if (desc.Format != DXGI_FORMAT_B8G8R8A8_UNORM) return plain_failure("Unsupported desktop duplication pixel format");
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    win::ComPtr<ID3D11Texture2D> staging;
    const HRESULT hr = device.CreateTexture2D(&desc, nullptr, staging.put());
    if (FAILED(hr)) return win::hr_failure(hr, "ID3D11Device::CreateTexture2D");
    if (!staging) return plain_failure("ID3D11Device::CreateTexture2D made no texture");
    context.CopyResource(staging.get(), &frame);
    context.Flush();
    MappedTexture mapped(context, *staging.get());
    GLIM_TRY(mapped.map(deadline));
    const MappedFrame source{static_cast<const std::uint8_t*>(mapped.data().pData), desc.Width, desc.Height,
                             mapped.data().RowPitch};
    return copy_mapped_frame(source, rotation);
}

Result<BgraImage> grab_monitor_by_duplication(HMONITOR monitor) {
    auto functions = load_functions();
    if (!functions) return std::move(functions).failure();
    win::ComPtr<IDXGIFactory1> factory;
    HRESULT hr = functions->create_factory(__uuidof(IDXGIFactory1), factory.put_void());
    if (FAILED(hr)) return win::hr_failure(hr, "CreateDXGIFactory1");
    auto found = find_output(*factory.get(), monitor);
    if (!found) return std::move(found).failure();

    win::ComPtr<ID3D11Device> device;
    win::ComPtr<ID3D11DeviceContext> context;
    hr = functions->create_device(found->adapter.get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr,
                                  D3D11_CREATE_DEVICE_BGRA_SUPPORT, nullptr, 0, D3D11_SDK_VERSION, device.put(),
                                  nullptr, context.put());
    if (FAILED(hr)) return win::hr_failure(hr, "D3D11CreateDevice");
    if (!device || !context) return plain_failure("D3D11CreateDevice made no device");
    win::ComPtr<IDXGIOutputDuplication> duplication;
    hr = found->output->DuplicateOutput(device.get(), duplication.put());
    if (FAILED(hr)) return win::hr_failure(hr, "IDXGIOutput1::DuplicateOutput");

    const Clock::time_point deadline = Clock::now() + DUPLICATION_DEADLINE;
    for (;;) {
        const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (remaining.count() <= 0)
            return win::hr_failure(DXGI_ERROR_WAIT_TIMEOUT, "IDXGIOutputDuplication::AcquireNextFrame");
        DXGI_OUTDUPL_FRAME_INFO info{};
        win::ComPtr<IDXGIResource> resource;
        hr = duplication->AcquireNextFrame(static_cast<UINT>(remaining.count()), &info, resource.put());
        if (FAILED(hr)) return win::hr_failure(hr, "IDXGIOutputDuplication::AcquireNextFrame");
        HeldFrame held(*duplication.get());
        if (info.LastPresentTime.QuadPart == 0) {  // nothing new on the desktop yet
            hr = held.release();
            if (FAILED(hr)) return win::hr_failure(hr, "IDXGIOutputDuplication::ReleaseFrame");
            continue;
        }
        if (info.ProtectedContentMaskedOut) return plain_failure("Windows blocked protected content in this capture");
        if (!resource) return plain_failure("The desktop frame has no picture");
        const auto texture = resource.try_query<ID3D11Texture2D>();
        if (!texture) return win::hr_failure(E_POINTER, "ID3D11Texture2D");
        return copy_duplicated_frame(*device.get(), *context.get(), *texture.get(), found->rotation, deadline);
    }
}

}  // namespace glimmerly
