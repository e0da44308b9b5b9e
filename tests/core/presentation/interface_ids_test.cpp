#include "core/presentation/interface_ids.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

// The text forms as the platform's documentation and SDK headers give them.
TEST(InterfaceIds, EachMatchesItsDocumentedTextForm) {
    struct Row {
        const char* name;
        InterfaceId id;
        const char* text;
    };
    const Row rows[] = {
        {"IGraphicsCaptureItemInterop", iid::graphics_capture_item_interop, "3628E81B-3CAC-4C60-B7F4-23CE0E0C3356"},
        {"IGraphicsCaptureItem", iid::graphics_capture_item, "79C3F95B-31F7-4EC2-A464-632EF5D30760"},
        {"IDirect3D11CaptureFramePoolStatics2", iid::frame_pool_statics2, "589B103F-6BBC-5DF5-A991-02E28B3B66D5"},
        {"IDirect3D11CaptureFramePool", iid::frame_pool, "24EB6D22-1975-422E-82E7-780DBD8DDF24"},
        {"IDirect3D11CaptureFrame", iid::frame, "FA50C623-38DA-4B32-ACF3-FA9734AD800E"},
        {"IGraphicsCaptureSession", iid::capture_session, "814E42A9-F70F-4AD7-939B-FDDCC6EB880D"},
        {"IGraphicsCaptureSession2", iid::capture_session2, "2C39AE40-7D2E-5044-804E-8B6799D4CF9E"},
        {"IGraphicsCaptureSession3", iid::capture_session3, "F2CDD966-22AE-5EA1-9596-3A289344C3BE"},
        {"TypedEventHandler<Direct3D11CaptureFramePool, Object>", iid::frame_arrived_handler,
         "51A947F7-79CF-5A3E-A3A5-1289CFA6DFE8"},
        {"IClosable", iid::closable, "30D5A829-7FA4-4026-83BB-D75BAE4EA99E"},
        {"IDirect3DDevice", iid::direct3d_device, "A37624AB-8D5F-4650-9D3E-9EAE3D9BC670"},
        {"IDirect3DDxgiInterfaceAccess", iid::direct3d_dxgi_interface_access, "A9B3D012-3DF2-4EE3-B8D1-8695F457D3C1"},
        {"IDCompositionColorMatrixEffect", iid::color_matrix_effect, "C1170A22-3CE2-4966-90D4-55408BFC84C4"},
        {"IDCompositionVisual3", iid::composition_visual3, "2775F462-B6C1-4015-B0BE-B3E7D6A4976D"},
        {"IAgileObject", iid::agile_object, "94EA2B94-E9CC-49E0-C0FF-EE64CA8F5B90"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(interface_id_text(row.id), row.text);
    }
}

}  // namespace
}  // namespace glimmerly
