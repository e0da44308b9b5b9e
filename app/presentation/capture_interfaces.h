#pragma once
// Platform interfaces the cross-compiler's headers lack, declared from the
// public ABI documentation: the Windows.Graphics.Capture interfaces the
// loupe's frame capture uses, the colour-matrix effect (up to SetMatrix, the
// one method called) and the third visual interface (only asked for). Their
// identities come from core/presentation/interface_ids.h, where a native test
// holds them against their documented text.

#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dwmapi.h>
#include <inspectable.h>

#include <cstdint>

#include "core/presentation/interface_ids.h"

// Declared as __CRT_UUID_DECL does, from the shared constants, so that
// __uuidof answers the same identity the native test checked.
#define GLIMMERLY_INTERFACE_ID(type, id)                                                                     \
    extern "C++" {                                                                                            \
    template <>                                                                                               \
    struct __mingw_uuidof_s<type> {                                                                           \
        static constexpr IID __uuid_inst = {id.data1, id.data2, id.data3,                                     \
                                            {id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], \
                                             id.data4[5], id.data4[6], id.data4[7]}};                         \
    };                                                                                                        \
    template <>                                                                                               \
    constexpr const GUID& __mingw_uuidof<type>() {                                                            \
        return __mingw_uuidof_s<type>::__uuid_inst;                                                           \
    }                                                                                                         \
    }

// Newer than the v10 headers' enumeration.
inline constexpr DWORD DWMWA_USE_IMMERSIVE_DARK_MODE = 20;

namespace glimmerly::wgc {

struct SizeInt32 {
    std::int32_t Width;
    std::int32_t Height;
};
struct EventRegistrationToken {
    std::int64_t value;
};
// Windows.Graphics.DirectX.DirectXPixelFormat.B8G8R8A8UIntNormalized.
inline constexpr std::int32_t kPixelFormatBgra8 = 87;

struct IDirect3D11CaptureFramePool;
struct IGraphicsCaptureSession;

struct IGraphicsCaptureItemInterop : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateForWindow(HWND window, REFIID iid, void** item) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateForMonitor(HMONITOR monitor, REFIID iid, void** item) = 0;
};

struct IGraphicsCaptureItem : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Size(SizeInt32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_Closed(IUnknown* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_Closed(EventRegistrationToken token) = 0;
};

struct IDirect3DDevice : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Trim() = 0;
};

struct IDirect3DDxgiInterfaceAccess : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetInterface(REFIID iid, void** object) = 0;
};

struct IClosable : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

struct IDirect3D11CaptureFrame : IInspectable {
    // An IDirect3DSurface; only asked for its DXGI access.
    virtual HRESULT STDMETHODCALLTYPE get_Surface(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SystemRelativeTime(std::int64_t* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentSize(SizeInt32* value) = 0;
};

// TypedEventHandler<Direct3D11CaptureFramePool, Object>.
struct IFrameArrivedHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IDirect3D11CaptureFramePool* sender, IInspectable* args) = 0;
};

struct IDirect3D11CaptureFramePool : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Recreate(IDirect3DDevice* device, std::int32_t format, std::int32_t buffers,
                                               SizeInt32 size) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryGetNextFrame(IDirect3D11CaptureFrame** frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameArrived(IFrameArrivedHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameArrived(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateCaptureSession(IGraphicsCaptureItem* item,
                                                           IGraphicsCaptureSession** session) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DispatcherQueue(IInspectable** value) = 0;
};

struct IDirect3D11CaptureFramePoolStatics2 : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE CreateFreeThreaded(IDirect3DDevice* device, std::int32_t format,
                                                         std::int32_t buffers, SizeInt32 size,
                                                         IDirect3D11CaptureFramePool** pool) = 0;
};

struct IGraphicsCaptureSession : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE StartCapture() = 0;
};
struct IGraphicsCaptureSession2 : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_IsCursorCaptureEnabled(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsCursorCaptureEnabled(boolean value) = 0;
};
struct IGraphicsCaptureSession3 : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_IsBorderRequired(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsBorderRequired(boolean value) = 0;
};

// The colour-matrix effect, declared up to the one method called.
struct IDCompositionColorMatrixEffect : IDCompositionFilterEffect {
    virtual HRESULT STDMETHODCALLTYPE SetMatrix(const D2D1_MATRIX_5X4_F& matrix) = 0;
};

// Asked for on a visual before SetEffect; its own methods are not called.
struct IDCompositionVisual3 : IDCompositionVisualDebug {};

}  // namespace glimmerly::wgc

GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IGraphicsCaptureItemInterop, glimmerly::iid::graphics_capture_item_interop)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IGraphicsCaptureItem, glimmerly::iid::graphics_capture_item)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDirect3DDevice, glimmerly::iid::direct3d_device)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDirect3DDxgiInterfaceAccess, glimmerly::iid::direct3d_dxgi_interface_access)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IClosable, glimmerly::iid::closable)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDirect3D11CaptureFrame, glimmerly::iid::frame)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IFrameArrivedHandler, glimmerly::iid::frame_arrived_handler)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDirect3D11CaptureFramePool, glimmerly::iid::frame_pool)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDirect3D11CaptureFramePoolStatics2, glimmerly::iid::frame_pool_statics2)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IGraphicsCaptureSession, glimmerly::iid::capture_session)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IGraphicsCaptureSession2, glimmerly::iid::capture_session2)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IGraphicsCaptureSession3, glimmerly::iid::capture_session3)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDCompositionColorMatrixEffect, glimmerly::iid::color_matrix_effect)
GLIMMERLY_INTERFACE_ID(glimmerly::wgc::IDCompositionVisual3, glimmerly::iid::composition_visual3)
