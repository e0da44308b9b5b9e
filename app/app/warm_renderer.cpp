#include "app/app/warm_renderer.h"

#include <algorithm>

#include "app/render/capture_region.h"
#include "app/render/text_formats.h"

namespace glimmerly {
namespace {

// Loads both text formats and their font files.
Status measure_both_formats(RendererResources& resources) {
    auto ui = ui_text_format(resources, 12.0f, current_language());
    if (!ui) return std::move(ui).failure();
    auto measured = measure_text(resources, "x", ui->get(), false, 0.0f);
    if (!measured) return std::move(measured).failure();
    auto annotation = annotation_text_format(resources.dwrite_factory.get(), 20.0f);
    if (!annotation) return std::move(annotation).failure();
    measured = measure_text(resources, "x", annotation->get(), false, 0.0f);
    if (!measured) return std::move(measured).failure();
    return ok_status();
}

// The warm-up binds a small corner of the surface only. Binding the target
// makes its drawing surface of the bound size, which it then keeps until the
// next bind: bound whole, an idle child held some 80 MiB more under Wine
// for nothing, since the capture's first frame binds its own area anew.
constexpr std::uint32_t kWarmSide = 64;

Status draw_first_frame(WarmRenderer& warm) {
    RendererResources& resources = *warm.resources;
    GLIM_TRY(begin_dc_frame(resources, warm.surface.memory.get(), std::min(warm.surface.width, kWarmSide),
                            std::min(warm.surface.height, kWarmSide)));
    Status drawn = [&]() -> Status {
        win::ComPtr<ID2D1SolidColorBrush> brush;
        GLIM_TRY(made(resources.dc_target->CreateSolidColorBrush(D2D1::ColorF(0.0f, 0.0f, 0.0f, 1.0f), brush.put()),
                      brush, "CreateSolidColorBrush"));
        return measure_both_formats(resources);
    }();
    const HRESULT ended = resources.dc_target->EndDraw();
    if (!drawn) return drawn;
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
    return ok_status();
}

}  // namespace

Result<std::unique_ptr<WarmRenderer>> warm_renderer(std::uint32_t width, std::uint32_t height, bool live) {
    auto warm = std::make_unique<WarmRenderer>();
    auto resources = create_renderer_resources(true, live);
    if (!resources) return std::move(resources).failure();
    warm->resources = std::move(*resources);
    auto surface = create_dib_surface(width, height);
    if (!surface) return std::move(surface).failure();
    warm->surface = std::move(*surface);
    GLIM_TRY(draw_first_frame(*warm));
    warm->frame_pixels.resize(std::size_t{width} * height * 4);
    return warm;
}

}  // namespace glimmerly
