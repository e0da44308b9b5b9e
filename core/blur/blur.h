#pragma once
// The blur that hides what lies under a blur object. Pixels are first
// scattered (each takes the colour of a pseudo-random neighbour, in a pattern
// fixed by the object's id, so an object always looks the same), then smoothed
// by three rounds of horizontal and vertical box filters.

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene_object.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// One rectangle of an image to blur.
struct BlurRect {
    std::uint32_t x = 0;       // top-left pixel inside the image
    std::uint32_t y = 0;
    std::uint32_t width = 0;   // both at least 1; the rectangle lies inside the image
    std::uint32_t height = 0;
    std::uint64_t seed = 0;    // the blur object's id
    std::uint32_t radius = 0;  // scatter radius, kMinBlurRadius..kMaxBlurRadius

    friend bool operator==(const BlurRect&, const BlurRect&) = default;
};

inline constexpr std::uint32_t kMinBlurRadius = 3;
inline constexpr std::uint32_t kMaxBlurRadius = 32;
// Below this many pixels a rectangle stays on the calling thread: starting
// workers would cost more than they save.
inline constexpr std::uint64_t kBlurParallelPixels = 262'144;
inline constexpr std::uint32_t kMaxBlurWorkers = 8;

// Starts `work` on a thread of its own. An unjoinable thread means the system
// refused one; the blur then runs that work on the calling thread.
using ThreadStarter = std::function<std::jthread(std::function<void()> work)>;
std::jthread start_worker_thread(std::function<void()> work);

// Where the blur of a large rectangle runs.
struct BlurWorkers {
    std::uint32_t processors = 1;  // at most kMaxBlurWorkers are used; 0 counts as 1
    ThreadStarter start = start_worker_thread;
};
// The processors the system reports.
BlurWorkers system_blur_workers();

// Bytes whose vector leaves new elements uninitialised: every byte of a
// blurred rectangle is written before it is read, and zeroing 33 MB first
// took a pass over memory on one thread, page faults included, before the
// workers started.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using BlurPixels = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

// The blurred pixels of one rectangle of an image (`pixels`: rows of
// `image_width` BGRA pixels), as rect.width x rect.height x 4 bytes, rows top
// to bottom, alpha 255. Only the rectangle's own pixels are read. The result
// does not depend on the number of workers. Fails with E_INVALIDARG for a
// rectangle that is empty or reaches past the image or its buffer, and for a
// radius outside kMinBlurRadius..kMaxBlurRadius; with E_OUTOFMEMORY when its
// buffers cannot be had.
Result<BlurPixels> blur_image_rects(std::span<const std::uint8_t> pixels, std::uint32_t image_width,
                                    const BlurRect& rect, const BlurWorkers& workers = system_blur_workers());

// The pixel rectangles of the blur objects among `objects`, in list order:
// each object's rect rounded half away from zero and cut at the image's
// edges, with its id as the seed and a scatter radius of 7/26 of its smaller
// side. Objects with a non-finite coordinate, and those that keep no whole
// column or row inside the image, are skipped. The blur strength (`width`)
// takes no part.
std::vector<BlurRect> collect_blur_rects(std::span<const SceneObject> objects, std::uint32_t image_width,
                                         std::uint32_t image_height);

// A key for a blurred rectangle kept between frames: it changes whenever the
// rectangle's id, place, size or radius does, so a kept picture is reused
// only for exactly the blur it shows.
std::uint64_t blur_rect_key(const BlurRect& rect);

// A copy of a valid image with each rectangle blurred from the unblurred
// pixels and pasted in list order, so that a later rectangle covers an
// earlier one where they overlap. A rectangle that cannot be blurred (one
// collect_blur_rects never makes) is filled with opaque black where it meets
// the image: showing it unblurred would show what the user hid. Memory that
// cannot be had fails the whole bake with E_OUTOFMEMORY.
Result<BgraImage> bake_blur_rects(const BgraImage& image, std::span<const BlurRect> rects,
                                  const BlurWorkers& workers = system_blur_workers());

// An image with a scene's blur objects baked in. When there was nothing to
// blur it is the given image itself, borrowed rather than copied, so the
// given image must outlive it.
class BlurredImage {
public:
    static BlurredImage unchanged(const BgraImage& image) { return BlurredImage(&image, std::nullopt); }
    static BlurredImage with_blur(BgraImage image) { return BlurredImage(nullptr, std::move(image)); }

    const BgraImage& image() const { return baked_ ? *baked_ : *source_; }
    // True when the pixels are a new copy with blur applied.
    bool baked() const { return baked_.has_value(); }

private:
    BlurredImage(const BgraImage* source, std::optional<BgraImage> baked)
        : source_(source), baked_(std::move(baked)) {}

    const BgraImage* source_;
    std::optional<BgraImage> baked_;
};

// The image with every blur object of `objects` baked in. The image itself
// comes back when no object is a blur object, and also when the image is not
// valid (there are no pixels to hide then). E_OUTOFMEMORY as bake_blur_rects.
Result<BlurredImage> blur_regions(const BgraImage& image, std::span<const SceneObject> objects,
                                  const BlurWorkers& workers = system_blur_workers());

}  // namespace glimmerly
