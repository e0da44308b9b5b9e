#include "app/render/renderer_resources.h"

namespace glimmerly {

Failure busy_failure(std::string_view what) {
    return plain_failure(std::string(what) + " is already in use by this paint pass");
}

namespace {

D2D1_STROKE_STYLE_PROPERTIES round_style() {
    return D2D1::StrokeStyleProperties(D2D1_CAP_STYLE_ROUND, D2D1_CAP_STYLE_ROUND, D2D1_CAP_STYLE_ROUND,
                                       D2D1_LINE_JOIN_ROUND, 1.0f, D2D1_DASH_STYLE_SOLID, 0.0f);
}

// Arrow shafts: the round start hides the join with nothing, the flat end
// meets the head's base exactly.
D2D1_STROKE_STYLE_PROPERTIES round_start_style() {
    return D2D1::StrokeStyleProperties(D2D1_CAP_STYLE_ROUND, D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT,
                                       D2D1_LINE_JOIN_ROUND, 0.0f, D2D1_DASH_STYLE_SOLID, 0.0f);
}

}  // namespace

Result<std::unique_ptr<RendererResources>> create_renderer_resources(bool software, bool premultiplied) {
    auto r = std::make_unique<RendererResources>();
    D2D1_FACTORY_OPTIONS options{};
    GLIM_TRY(made(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), &options,
                                    r->d2d_factory.put_void()),
                  r->d2d_factory, "D2D1CreateFactory"));
    GLIM_TRY(made(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                      reinterpret_cast<IUnknown**>(r->dwrite_factory.put())),
                  r->dwrite_factory, "DWriteCreateFactory"));
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
        software ? D2D1_RENDER_TARGET_TYPE_SOFTWARE : D2D1_RENDER_TARGET_TYPE_DEFAULT,
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM,
                          premultiplied ? D2D1_ALPHA_MODE_PREMULTIPLIED : D2D1_ALPHA_MODE_IGNORE),
        96.0f, 96.0f);
    GLIM_TRY(made(r->d2d_factory->CreateDCRenderTarget(&properties, r->dc_target.put()), r->dc_target,
                  "CreateDCRenderTarget"));
    GLIM_TRY(made(r->d2d_factory->CreateStrokeStyle(round_style(), nullptr, 0, r->round_stroke.put()),
                  r->round_stroke, "CreateStrokeStyle (round)"));
    GLIM_TRY(made(r->d2d_factory->CreateStrokeStyle(round_start_style(), nullptr, 0, r->round_start_stroke.put()),
                  r->round_start_stroke, "CreateStrokeStyle (round start)"));
    r->software = software;
    r->premultiplied = premultiplied;
    return r;
}

}  // namespace glimmerly
