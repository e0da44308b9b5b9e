#include "app/presentation/composed_loupe.h"

#include <dxgi.h>

#include <algorithm>
#include <atomic>
#include <iterator>

#include "app/presentation/broadcast_mirror.h"
#include "app/render/renderer_resources.h"
#include "app/win/failure.h"
#include "app/win/system_function.h"

namespace glimmerly {
namespace {

// Once any composed loupe of the process has shown a window, a window that
// cannot be shown is only reported, never a reason to fall back.
std::atomic<bool> g_composed_has_shown{false};

using CreateDesktopDevice = HRESULT(WINAPI*)(IUnknown*, REFIID, void**);
using ThumbnailVisualExport = HRESULT(WINAPI*)(HWND destination, HWND source, DWORD flags,
                                               DWM_THUMBNAIL_PROPERTIES* properties, void* device, void** visual,
                                               PHTHUMBNAIL thumbnail);

// The thumbnail visual's properties: destination, source, opacity, visible,
// whole window, and the flag the visual form asks for.
constexpr DWORD kThumbnailVisualFlags = 0x0400001F;
// The value the export is called with; its meaning is the platform's.
constexpr DWORD kThumbnailVisualKind = 2;

// Shown through capture always: the export does not draw them.
constexpr const wchar_t* kCapturedClasses[] = {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"ControlCenterWindow",
                                               L"XamlExplorerHostIslandWindow",
                                               L"TopLevelWindowForOverflowXamlIsland"};

using win::hr_status;

HWND window_of(LoupeWindowId id) { return reinterpret_cast<HWND>(id); }
RECT win_rect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

std::wstring class_name_of(HWND window) {
    wchar_t name[129]{};
    const int length = GetClassNameW(window, name, int(std::size(name)));
    return std::wstring(name, std::size_t(std::max(length, 0)));
}

DWM_THUMBNAIL_PROPERTIES thumbnail_properties(const LoupePlacement& placement) {
    DWM_THUMBNAIL_PROPERTIES properties{};
    properties.dwFlags = kThumbnailVisualFlags;
    properties.rcDestination = win_rect(placement.destination);
    properties.rcSource = win_rect(placement.source);
    properties.opacity = 255;
    properties.fVisible = TRUE;
    properties.fSourceClientAreaOnly = FALSE;
    return properties;
}

// Five bands, innermost first: the first opaque with a hard edge, the
// others fading through a colour matrix that scales alpha only.
Status build_band(ComposedLoupe& composed, double opacity) {
    LoupeBand band;
    IDCompositionDesktopDevice& device = *composed.composition.get();
    GLIM_TRY(made(device.CreateVisual(band.content_visual.put()), band.content_visual, "CreateVisual"));
    GLIM_TRY(made(device.CreateVisual(band.band_visual.put()), band.band_visual, "CreateVisual"));
    if (opacity < 1.0) {
        auto device3 = composed.composition.query<IDCompositionDevice3>();
        if (!device3) return std::move(device3).failure();
        // The cross-compiler's header types the effect as void**.
        win::ComPtr<wgc::IDCompositionColorMatrixEffect> effect;
        GLIM_TRY(made((*device3)->CreateColorMatrixEffect(effect.put_void()), effect, "CreateColorMatrixEffect"));
        D2D1_MATRIX_5X4_F matrix{};
        matrix._11 = matrix._22 = matrix._33 = 1.0f;
        matrix._44 = float(opacity);
        GLIM_TRY(hr_status(effect->SetMatrix(matrix), "SetMatrix"));
        auto visual3 = band.content_visual.query<wgc::IDCompositionVisual3>();
        if (!visual3) return std::move(visual3).failure();
        GLIM_TRY(hr_status((*visual3)->SetEffect(effect.get()), "SetEffect"));
    } else {
        GLIM_TRY(hr_status(band.band_visual->SetBorderMode(DCOMPOSITION_BORDER_MODE_HARD), "SetBorderMode"));
    }
    GLIM_TRY(made(device.CreateRectangleClip(band.clip.put()), band.clip, "CreateRectangleClip"));
    GLIM_TRY(hr_status(band.band_visual->SetClip(band.clip.get()), "SetClip"));
    GLIM_TRY(hr_status(band.band_visual->AddVisual(band.content_visual.get(), FALSE, nullptr), "AddVisual"));
    composed.bands.push_back(std::move(band));
    return ok_status();
}

struct UpdateNotes {
    std::optional<Failure> pending;
    bool shown = false;
    void note(Failure failure) {
        if (!pending) pending = std::move(failure);
    }
};

LoupeSourceEntry make_entry(ComposedLoupe& composed, std::size_t band, HWND window, const LoupePlacement& placement,
                            UpdateNotes& notes) {
    const std::wstring name = class_name_of(window);
    const bool refused = std::find(composed.refused.begin(), composed.refused.end(), window) != composed.refused.end();
    const bool captured_class = std::any_of(std::begin(kCapturedClasses), std::end(kCapturedClasses),
                                            [&](const wchar_t* listed) { return name == listed; });
    if (!refused && !captured_class) {
        const auto make_visual =
            reinterpret_cast<ThumbnailVisualExport>(reinterpret_cast<void*>(composed.thumbnail_visual_export));
        DWM_THUMBNAIL_PROPERTIES properties = thumbnail_properties(placement);
        win::ComPtr<IDCompositionVisual> visual;
        HTHUMBNAIL thumbnail = 0;
        const HRESULT hr = make_visual(composed.window, window, kThumbnailVisualKind, &properties,
                                       composed.composition.get(), visual.put_void(), &thumbnail);
        if (SUCCEEDED(hr) && visual) return {LoupeEntryKind::Thumbnail, thumbnail, std::move(visual), window};
        // Refusals are silent: the window is captured instead.
        composed.refused.push_back(window);
    }
    const auto existing = std::find_if(composed.captures.begin(), composed.captures.end(),
                                       [&](const auto& capture) { return capture->window == window; });
    if (existing != composed.captures.end())
        return {LoupeEntryKind::Capture, 0, win::ComPtr<IDCompositionVisual>::share((*existing)->visuals[band].get()),
                window};
    auto capture = create_loupe_capture(window, composed.event_window, *composed.device.get(), *composed.context.get(),
                                        *composed.composition.get());
    if (!capture) {
        notes.note({capture.failure().code, "capture of " + win::to_utf8(name) + ": " + capture.failure().message});
        return {LoupeEntryKind::Nothing, 0, nullptr, window};
    }
    LoupeSourceEntry entry{LoupeEntryKind::Capture, 0,
                           win::ComPtr<IDCompositionVisual>::share((*capture)->visuals[band].get()), window};
    composed.captures.push_back(std::move(*capture));
    return entry;
}

Status update_band(ComposedLoupe& composed, std::size_t index, const std::vector<HWND>& windows,
                   const std::vector<LoupePlacement>& placements, UpdateNotes& notes) {
    LoupeBand& band = composed.bands[index];
    if (!band_entries_match(band.entries, windows)) {
        GLIM_TRY(hr_status(band.content_visual->RemoveAllVisuals(), "RemoveAllVisuals"));
        rebuild_band_entries(band.entries, band.retired, windows, [&](HWND window) {
            const auto at = std::find(windows.begin(), windows.end(), window) - windows.begin();
            return make_entry(composed, index, window, placements[std::size_t(at)], notes);
        });
        for (const LoupeSourceEntry& entry : band.entries)
            if (entry.kind != LoupeEntryKind::Nothing)
                GLIM_TRY(hr_status(band.content_visual->AddVisual(entry.visual.get(), FALSE, nullptr), "AddVisual"));
    }
    for (std::size_t k = 0; k < band.entries.size(); ++k) {
        const LoupeSourceEntry& entry = band.entries[k];
        if (entry.kind == LoupeEntryKind::Capture) notes.shown = true;
        if (entry.kind != LoupeEntryKind::Thumbnail) continue;
        DWM_THUMBNAIL_PROPERTIES properties = thumbnail_properties(placements[k]);
        if (const HRESULT hr = DwmUpdateThumbnailProperties(entry.thumbnail, &properties); SUCCEEDED(hr))
            notes.shown = true;
        else
            notes.note({std::int32_t(hr), win::to_utf8(class_name_of(entry.window)) + ": " +
                                win::hr_failure(hr, "DwmUpdateThumbnailProperties").message});
    }
    return ok_status();
}

// Captured pictures are the window's whole frame, enlarged about the source square.
Status place_captures(ComposedLoupe& composed, const PixelRect& source, std::int32_t zoom) {
    for (const auto& capture : composed.captures) {
        RECT frame{};
        if (FAILED(DwmGetWindowAttribute(capture->window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) &&
            !GetWindowRect(capture->window, &frame))
            return win::win32_failure("GetWindowRect");
        const float z = float(zoom);
        const D2D_MATRIX_3X2_F transform{z, 0, 0, z, float(frame.left - source.left) * z,
                                         float(frame.top - source.top) * z};
        for (auto& visual : capture->visuals) GLIM_TRY(hr_status(visual->SetTransform(transform), "SetTransform"));
    }
    return ok_status();
}

Status set_band_clips(ComposedLoupe& composed, std::int32_t diameter) {
    const auto clips = loupe_band_clips(diameter);
    for (std::size_t b = 0; b < std::min(composed.bands.size(), clips.size()); ++b) {
        IDCompositionRectangleClip& clip = *composed.bands[b].clip.get();
        const LoupeClip& c = clips[b];
        const HRESULT results[] = {clip.SetLeft(c.left),
                                   clip.SetTop(c.top),
                                   clip.SetRight(c.right),
                                   clip.SetBottom(c.bottom),
                                   clip.SetTopLeftRadiusX(c.radius),
                                   clip.SetTopLeftRadiusY(c.radius),
                                   clip.SetTopRightRadiusX(c.radius),
                                   clip.SetTopRightRadiusY(c.radius),
                                   clip.SetBottomLeftRadiusX(c.radius),
                                   clip.SetBottomLeftRadiusY(c.radius),
                                   clip.SetBottomRightRadiusX(c.radius),
                                   clip.SetBottomRightRadiusY(c.radius)};
        for (const HRESULT hr : results) GLIM_TRY(hr_status(hr, "IDCompositionRectangleClip"));
    }
    return ok_status();
}

}  // namespace

ComposedLoupe::~ComposedLoupe() {
    device.reset();
    context.reset();
    composition.reset();
    target.reset();
    root.reset();
    bands.clear();
    captures.clear();
}

Result<std::unique_ptr<ComposedLoupe>> build_composed_loupe(HWND window, HWND event_window, FARPROC export_147) {
    auto composed = std::make_unique<ComposedLoupe>();
    composed->window = window;
    composed->event_window = event_window;
    composed->thumbnail_visual_export = export_147;
    auto d3d = create_mirror_d3d_device();
    if (!d3d) return std::move(d3d).failure();
    composed->device = std::move(d3d->device);
    composed->context = std::move(d3d->context);
    auto dxgi = composed->device.query<IDXGIDevice>();
    if (!dxgi) return std::move(dxgi).failure();
    // Looked up: Wine's is a stub that raises when called, and an import
    // would stop an older system loading the program.
    const auto create = win::system_function_as<CreateDesktopDevice>(L"dcomp.dll", "DCompositionCreateDevice3");
    if (!create) return Failure{E_NOTIMPL_CODE, "The system has no DCompositionCreateDevice3"};
    GLIM_TRY(made(create(dxgi->get(), __uuidof(IDCompositionDesktopDevice), composed->composition.put_void()),
                  composed->composition, "DCompositionCreateDevice3"));
    IDCompositionDesktopDevice& device = *composed->composition.get();
    GLIM_TRY(made(device.CreateTargetForHwnd(window, TRUE, composed->target.put()), composed->target,
                  "CreateTargetForHwnd"));
    GLIM_TRY(made(device.CreateVisual(composed->root.put()), composed->root, "CreateVisual"));
    GLIM_TRY(hr_status(composed->root->SetBitmapInterpolationMode(DCOMPOSITION_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR),
                       "SetBitmapInterpolationMode"));
    GLIM_TRY(hr_status(composed->root->SetBorderMode(DCOMPOSITION_BORDER_MODE_SOFT), "SetBorderMode"));
    for (const FalloffStop& stop : falloff_stops(1.0, 1.0)) GLIM_TRY(build_band(*composed, stop.opacity));
    for (const LoupeBand& band : composed->bands)
        GLIM_TRY(hr_status(composed->root->AddVisual(band.band_visual.get(), FALSE, nullptr), "AddVisual"));
    GLIM_TRY(hr_status(composed->target->SetRoot(composed->root.get()), "SetRoot"));
    GLIM_TRY(hr_status(device.Commit(), "Commit"));
    return composed;
}

Status update_composed_loupe(ComposedLoupe& composed, const PixelRect& destination, const PixelRect& source,
                             std::int32_t zoom, const std::vector<LoupeCandidate>& beneath) {
    const std::vector<LoupePlacement> placements = loupe_placements(source, zoom, {source}, beneath);
    std::vector<HWND> windows;
    for (const LoupePlacement& placement : placements) windows.push_back(window_of(placement.window));
    const auto beneath_now = [&](HWND window) { return std::find(windows.begin(), windows.end(), window) != windows.end(); };
    std::erase_if(composed.captures, [&](const auto& capture) { return !beneath_now(capture->window); });
    std::erase_if(composed.refused, [&](HWND window) { return !beneath_now(window); });

    UpdateNotes notes;
    for (std::size_t b = 0; b < composed.bands.size(); ++b) GLIM_TRY(update_band(composed, b, windows, placements, notes));
    GLIM_TRY(place_captures(composed, source, zoom));
    if (notes.pending) {
        if (!notes.shown && !g_composed_has_shown.load()) return std::move(*notes.pending);
        report_window_left_out(notes.pending->message);
    }
    if (notes.shown) g_composed_has_shown.store(true);
    const std::int32_t d = destination.width();
    if (std::uint32_t(d) != composed.drawn_diameter) {
        GLIM_TRY(set_band_clips(composed, d));
        composed.drawn_diameter = std::uint32_t(d);
    }
    return hr_status(composed.composition->Commit(), "Commit");
}

}  // namespace glimmerly
