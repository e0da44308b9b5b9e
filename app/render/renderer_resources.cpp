#include "app/render/renderer_resources.h"

#include "app/win/failure.h"

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

using CreateD2DFactory = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
using CreateDWriteFactory = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);

// Pinned once loaded: the annotation font collection lives in a fiber-local
// slot past every renderer, and its DirectWrite objects must never outlive
// their library.
Status load_library(win::UniqueModule& library, const wchar_t* name) {
    library.reset(LoadLibraryW(name));
    if (!library) return win::win32_failure("LoadLibraryW", name);
    HMODULE pinned = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, name, &pinned))
        return win::win32_failure("GetModuleHandleExW", name);
    return ok_status();
}

template <class Function>
Result<Function> library_function(const win::UniqueModule& library, const char* name) {
    const FARPROC found = GetProcAddress(library.get(), name);
    if (!found) return win::win32_failure("GetProcAddress", win::to_wide(name));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

D2D1::Matrix3x2F rotation_matrix(const RendererResources& resources, float degrees, D2D1_POINT_2F centre) {
    D2D1::Matrix3x2F matrix;
    resources.make_rotate_matrix(degrees, centre, &matrix);
    return matrix;
}

Result<win::ComPtr<ID2D1SolidColorBrush>> solid_brush(RendererResources& resources, ID2D1RenderTarget* target,
                                                      const D2D1_COLOR_F& colour) {
    const bool kept = target == resources.dc_target.get();
    if (kept && resources.dc_brush) {
        resources.dc_brush->SetColor(colour);
        return resources.dc_brush;
    }
    win::ComPtr<ID2D1SolidColorBrush> brush;
    GLIM_TRY(made(target->CreateSolidColorBrush(colour, brush.put()), brush, "CreateSolidColorBrush"));
    if (kept) resources.dc_brush = brush;
    return brush;
}

namespace {

Status make_factories(RendererResources& r) {
    auto create_d2d = library_function<CreateD2DFactory>(r.d2d1_library, "D2D1CreateFactory");
    if (!create_d2d) return std::move(create_d2d).failure();
    auto rotate = library_function<MakeRotateMatrix>(r.d2d1_library, "D2D1MakeRotateMatrix");
    if (!rotate) return std::move(rotate).failure();
    r.make_rotate_matrix = *rotate;
    auto create_dwrite = library_function<CreateDWriteFactory>(r.dwrite_library, "DWriteCreateFactory");
    if (!create_dwrite) return std::move(create_dwrite).failure();
    D2D1_FACTORY_OPTIONS options{};
    GLIM_TRY(made((*create_d2d)(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), &options,
                                r.d2d_factory.put_void()),
                  r.d2d_factory, "D2D1CreateFactory"));
    return made((*create_dwrite)(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                 reinterpret_cast<IUnknown**>(r.dwrite_factory.put())),
                r.dwrite_factory, "DWriteCreateFactory");
}

Result<std::unique_ptr<RendererResources>> create_with(bool software, bool premultiplied,
                                                       const RendererResources* sharing) {
    auto r = std::make_unique<RendererResources>();
    GLIM_TRY(load_library(r->d2d1_library, L"d2d1.dll"));
    GLIM_TRY(load_library(r->dwrite_library, L"dwrite.dll"));
    if (sharing) {
        r->make_rotate_matrix = sharing->make_rotate_matrix;
        r->d2d_factory = sharing->d2d_factory;
        r->dwrite_factory = sharing->dwrite_factory;
    } else {
        GLIM_TRY(make_factories(*r));
    }
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

}  // namespace

Result<std::unique_ptr<RendererResources>> create_renderer_resources(bool software, bool premultiplied) {
    return create_with(software, premultiplied, nullptr);
}

Result<std::unique_ptr<RendererResources>> create_renderer_resources(bool software, bool premultiplied,
                                                                     const RendererResources& sharing) {
    return create_with(software, premultiplied, &sharing);
}

}  // namespace glimmerly
