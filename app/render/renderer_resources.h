#pragma once
// Every Direct2D and DirectWrite object one editor view or painter draws
// with, and the caches the drawing code keeps between frames. Dropping the
// record releases all of it. It is built on one thread and from then on used
// by one thread at a time; it moves between threads whole, behind a
// unique_ptr, so that the borrows of its caches never see it move.

#include <d2d1.h>
#include <dwrite.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/win/com.h"
#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/blur/blur.h"
#include "core/document/geometry.h"
#include "core/image/bgra_image.h"
#include "core/render/picture.h"

namespace glimmerly {

// A value one user at a time may work on. A paint pass that pumps messages
// could re-enter the drawing code; the second user then finds the value busy
// instead of changing it under the first.
template <class T>
class Guarded {
public:
    class Borrow {
    public:
        explicit Borrow(Guarded* owner) noexcept : owner_(owner) {}
        Borrow(const Borrow&) = delete;
        Borrow& operator=(const Borrow&) = delete;
        ~Borrow() {
            if (owner_) owner_->busy_ = false;
        }
        explicit operator bool() const noexcept { return owner_ != nullptr; }
        T& operator*() const noexcept { return owner_->value_; }
        T* operator->() const noexcept { return &owner_->value_; }

    private:
        Guarded* owner_;
    };

    Guarded() = default;
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    // Empty when the value is already borrowed.
    Borrow borrow() noexcept {
        if (busy_) return Borrow(nullptr);
        busy_ = true;
        return Borrow(this);
    }

private:
    T value_{};
    bool busy_ = false;
};

// The failure of a borrow that found its value busy.
Failure busy_failure(std::string_view what);

// A pen or highlighter stroke's whole outline, kept until the stroke changes.
// `object` is the stroke as it was when the outline was built: the entry is
// valid exactly while the stroke still equals it.
struct StrokeCacheEntry {
    SceneObject object;
    win::ComPtr<ID2D1Geometry> geometry;
    bool used = false;  // drawn or confirmed in the current pass
};

// The inside of an object's outline that one of its fill regions colours,
// with the outlines of the objects above that were cut out of it.
struct CutAreaEntry {
    std::vector<Polyline> boundaries;
    win::ComPtr<ID2D1Geometry> geometry;
};

// A rectangle's, ellipse's or arrow's paths, kept while the object's outline
// (its points in the context of the whole list) stays the same: building a
// path geometry costs far more than building the points and comparing them.
// `areas` holds, per polyline, one cut area per fill region.
struct OutlineCacheEntry {
    std::vector<Polyline> outline;
    bool filled = false;
    std::vector<win::ComPtr<ID2D1PathGeometry>> paths;
    std::vector<std::vector<CutAreaEntry>> areas;
    bool used = false;  // drawn or confirmed in the current pass
};

using ObjectRenderCache = std::unordered_map<ObjectId, StrokeCacheEntry>;
using OutlineRenderCache = std::unordered_map<ObjectId, OutlineCacheEntry>;

// Interface text formats by size (the bits of the f32), style and language.
// The plain interface format has the style byte 0xFF.
struct TextFormatKey {
    std::uint32_t size_bits = 0;
    std::uint8_t style = 0;
    std::uint8_t language = 0;

    friend bool operator==(const TextFormatKey&, const TextFormatKey&) = default;
};
struct TextFormatKeyHash {
    std::size_t operator()(const TextFormatKey& key) const noexcept {
        return std::hash<std::uint64_t>{}(std::uint64_t{key.size_bits} << 16 | std::uint64_t{key.style} << 8 |
                                          key.language);
    }
};
using TextFormatCache = std::unordered_map<TextFormatKey, win::ComPtr<IDWriteTextFormat>, TextFormatKeyHash>;

// A picture drawn above the scene objects, with its bitmap on the DC target.
struct OverlayImage {
    BgraImage image;
    win::ComPtr<ID2D1Bitmap> bitmap;
};

// A generated picture (the colour picker's), rebuilt when its version moves.
struct NamedBitmap {
    std::string key;
    std::uint64_t version = 0;
    win::ComPtr<ID2D1Bitmap> bitmap;
};

// A blurred piece of the picture kept by the scene view.
struct BlurBitmap {
    ObjectId id = 0;
    std::uint64_t key = 0;
    win::ComPtr<ID2D1Bitmap> bitmap;
};

// A rectangle with holes cut out, as the painting kit last filled it.
struct FillGeometryEntry {
    Box rect;
    std::vector<Polyline> holes;
    win::ComPtr<ID2D1Geometry> geometry;
};
inline constexpr std::size_t kFillGeometryCacheSize = 8;

// The scene view's cached layer of objects: filled by the view, emptied
// whenever the background picture changes, since it was drawn over the old one.
struct SceneLayerCache {
    win::ComPtr<ID2D1Bitmap> layer;
    std::optional<std::uint64_t> scene_key;
    std::optional<Box> view;

    void clear() {
        layer.reset();
        scene_key.reset();
        view.reset();
    }
};

// A picture drawn once into a bitmap of its own and from then on as that
// bitmap, while the same picture is asked for at the same place: replayed
// shape by shape, the toolbar's panels cost as much as the rest of a frame.
// `placed` is the bitmap's box in the drawing's coordinates, on whole pixels;
// an empty `picture` with a bitmap means the bitmap is not a finished one.
struct KeptPicture {
    Picture picture;
    Box placed;
    win::ComPtr<ID2D1BitmapRenderTarget> target;  // of the DC target, reused while the size holds
    win::ComPtr<ID2D1Bitmap> bitmap;
};

// Members in creation order, so that they are released in reverse: caches
// and bitmaps first, the factories last.
// Direct2D and DirectWrite are loaded by the first renderer, not at process
// start: imported, they brought Wine's Direct3D, OpenGL and font stacks into
// every process (the resident idles with them, a cold editor child loads
// them before its window shows). Each record holds its own reference to the
// libraries, released after every object made from them; once loaded they
// stay for the life of the process.
using MakeRotateMatrix = void(WINAPI*)(FLOAT angle, D2D1_POINT_2F centre, D2D1_MATRIX_3X2_F* matrix);

struct RendererResources {
    win::UniqueModule d2d1_library;
    win::UniqueModule dwrite_library;
    MakeRotateMatrix make_rotate_matrix = nullptr;  // D2D1MakeRotateMatrix
    win::ComPtr<ID2D1Factory> d2d_factory;        // single-threaded
    win::ComPtr<IDWriteFactory> dwrite_factory;   // shared
    win::ComPtr<ID2D1DCRenderTarget> dc_target;
    // The one brush every pass on the DC target re-colours: a brush per pass
    // or per text cost a creation each, every frame.
    win::ComPtr<ID2D1SolidColorBrush> dc_brush;
    win::ComPtr<ID2D1StrokeStyle> round_stroke;        // round caps and joins
    win::ComPtr<ID2D1StrokeStyle> round_start_stroke;  // round start, flat end
    win::ComPtr<ID2D1Bitmap> background;                // the capture, drawn first
    std::optional<OverlayImage> overlay;
    Guarded<std::vector<NamedBitmap>> named_bitmaps;
    Guarded<ObjectRenderCache> object_cache;
    Guarded<OutlineRenderCache> outline_cache;
    SceneLayerCache scene_layer;
    Guarded<std::vector<BlurBitmap>> blur_bitmaps;
    Guarded<BlurWorkspace> blur_workspace;  // buffers and threads kept for the next blur
    Guarded<std::vector<FillGeometryEntry>> fill_geometries;  // most recent first
    Guarded<TextFormatCache> text_formats;
    Guarded<std::vector<KeptPicture>> toolbar_pictures;  // a panel, or panels that touch, each
    Guarded<KeptPicture> size_panel_picture;             // its boxes and button picture, without the label
    bool software = false;       // the target was asked for as a software target
    bool premultiplied = false;  // the target was asked for with premultiplied alpha

    RendererResources() = default;
    RendererResources(const RendererResources&) = delete;
    RendererResources& operator=(const RendererResources&) = delete;
};

// A solid brush for drawing on `target`: the kept one on the DC target
// (made on first use), a new one on any other.
Result<win::ComPtr<ID2D1SolidColorBrush>> solid_brush(RendererResources& resources, ID2D1RenderTarget* target,
                                                      const D2D1_COLOR_F& colour);

// D2D1::Matrix3x2F::Rotation through the loaded library: a turn of
// `degrees` clockwise about `centre`.
D2D1::Matrix3x2F rotation_matrix(const RendererResources& resources, float degrees, D2D1_POINT_2F centre);

// Factories, the DC render target (B8G8R8A8, alpha ignored or premultiplied,
// 96 dpi so that one unit is one pixel of the capture) and the two shared
// stroke styles; the caches start empty. The failing call's error otherwise.
Result<std::unique_ptr<RendererResources>> create_renderer_resources(bool software, bool premultiplied);
// The same, drawing through the factories of `sharing` (kept alive by the new
// record too). Wine's Direct2D gives every factory a Direct3D device of its
// own, near 150 MB under llvmpipe and held until the factory goes: pictures
// made one after another share one. Only for records used on the thread that
// uses `sharing`: the factory is single-threaded.
Result<std::unique_ptr<RendererResources>> create_renderer_resources(bool software, bool premultiplied,
                                                                     const RendererResources& sharing);

// The solid colour Direct2D wants for an RGB colour with an opacity.
inline D2D1_COLOR_F d2d_colour(Rgb rgb, float opacity = 1.0f) {
    return D2D1::ColorF(rgb.r / 255.0f, rgb.g / 255.0f, rgb.b / 255.0f, opacity);
}
inline D2D1_POINT_2F d2d_point(Point p) {
    return D2D1::Point2F(static_cast<float>(p.x), static_cast<float>(p.y));
}
inline D2D1_RECT_F d2d_rect(const Box& b) {
    return D2D1::RectF(static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.right),
                       static_cast<float>(b.bottom));
}

// A creation that reported success must also have given its object. One that
// did not is E_POINTER: a failure without a code would read as success.
template <class T>
Status made(HRESULT hr, const win::ComPtr<T>& object, std::string_view what) {
    if (FAILED(hr)) return win::hr_failure(hr, what);
    if (!object) return win::hr_failure(E_POINTER, what);
    return ok_status();
}

}  // namespace glimmerly
