#pragma once
// The blur that hides what lies under a blur object. Pixels are first
// scattered (each takes the colour of a pseudo-random neighbour, in a pattern
// fixed by the object's id, so an object always looks the same), then smoothed
// by three rounds of horizontal and vertical box filters.

#include <cstdint>
#include <functional>
#include <span>
#include <thread>
#include <vector>

#include "core/base/result.h"
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

// The blurred pixels of one rectangle of an image (`pixels`: rows of
// `image_width` BGRA pixels), as rect.width x rect.height x 4 bytes, rows top
// to bottom, alpha 255. Only the rectangle's own pixels are read. The result
// does not depend on the number of workers. Fails with E_INVALIDARG for a
// rectangle that is empty or reaches past the image or its buffer, and for a
// radius outside kMinBlurRadius..kMaxBlurRadius.
Result<std::vector<std::uint8_t>> blur_image_rects(std::span<const std::uint8_t> pixels,
                                                   std::uint32_t image_width, const BlurRect& rect,
                                                   const BlurWorkers& workers = system_blur_workers());

}  // namespace glimmerly
