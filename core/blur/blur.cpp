#include "core/blur/blur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <utility>
#include <variant>

namespace glimmerly {
namespace {

constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15u;

// The SplitMix64 finaliser.
constexpr std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// Half the width of the box window, chosen so that three rounds of box
// filters come close to a Gaussian of sigma 0.43 x radius.
std::uint32_t box_radius(std::uint32_t radius) {
    const double sigma = 0.43 * radius;
    const double k = std::round((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) * 0.5);
    return std::max<std::uint32_t>(static_cast<std::uint32_t>(k), 1);
}

// The average of a window of 2k + 1 bytes by a fixed-point reciprocal, which
// costs a multiplication where a division would cost far more.
struct BoxWindow {
    explicit BoxWindow(std::uint32_t k)
        : k(k),
          reciprocal(static_cast<std::uint32_t>(((std::uint64_t{1} << 32) + 2 * k) / (2 * std::uint64_t{k} + 1))) {}

    std::uint8_t average(std::uint32_t sum) const {
        // Never above 255: a full window of 255 gives exactly 255, so alpha,
        // which the scatter makes 255, stays 255 through every pass.
        return static_cast<std::uint8_t>((std::uint64_t{sum + k} * reciprocal) >> 32);
    }

    std::uint32_t k;           // at most 13, so a window sum stays far below 2^32
    std::uint32_t reciprocal;  // ceil(2^32 / (2k + 1)), below 2^32 since 2k + 1 >= 3
};

struct ScatterSource {
    const std::uint8_t* pixels;
    std::size_t stride;  // image row length in bytes
    std::uint32_t x0, y0, width, height, radius;
    std::uint64_t seed_hash;
};

void scatter_rows(const ScatterSource& src, std::uint8_t* out, std::uint32_t first, std::uint32_t end) noexcept {
    // Columns go in tiles so that the source rows a tile reads (up to
    // 2 x radius + 1 of them) stay in cache while the reads jump about within
    // them; over the full width a 4K blur took a third longer.
    constexpr std::uint32_t kTile = 128;
    const std::uint64_t n = 2 * std::uint64_t{src.radius} + 1;
    const std::int64_t last_x = std::int64_t{src.width} - 1;
    const std::int64_t last_y = std::int64_t{src.height} - 1;
    const std::uint8_t* origin = src.pixels + src.y0 * src.stride + std::size_t{src.x0} * 4;
    for (std::uint32_t tile = 0; tile < src.width; tile += kTile) {
        const std::uint32_t tile_end = tile + std::min(kTile, src.width - tile);
        for (std::uint32_t y = first; y < end; ++y) {
            std::uint8_t* q = out + (std::size_t{y} * src.width + tile) * 4;
            for (std::uint32_t x = tile; x < tile_end; ++x, q += 4) {
                const std::uint64_t z = mix((((std::uint64_t{x} << 32) | y) ^ src.seed_hash) + kGolden);
                const auto a = static_cast<std::int64_t>(((z & 0xffffffffu) * n) >> 32);
                const auto b = static_cast<std::int64_t>(((z >> 32) * n) >> 32);
                const std::int64_t sx = std::clamp<std::int64_t>(x + a - src.radius, 0, last_x);
                const std::int64_t sy = std::clamp<std::int64_t>(y + b - src.radius, 0, last_y);
                const std::uint8_t* p =
                    origin + static_cast<std::size_t>(sy) * src.stride + static_cast<std::size_t>(sx) * 4;
                std::memcpy(q, p, 4);
                q[3] = 255;
            }
        }
    }
}

// Rows [first, end) of `out`, each the window average along its own row of
// `in`. The four bytes of a pixel are four independent running sums.
void box_rows_horizontal(const std::uint8_t* in, std::uint8_t* out, std::uint32_t width, const BoxWindow& box,
                         std::uint32_t first, std::uint32_t end) noexcept {
    const std::uint32_t k = box.k;
    const std::size_t last = width - 1;
    for (std::uint32_t y = first; y < end; ++y) {
        const std::uint8_t* p = in + std::size_t{y} * width * 4;
        std::uint8_t* q = out + std::size_t{y} * width * 4;
        std::uint32_t sum[4];
        for (int c = 0; c < 4; ++c) {
            sum[c] = (k + 1) * p[c];
            for (std::size_t j = 1; j <= k; ++j) sum[c] += p[std::min(j, last) * 4 + c];
        }
        const auto step = [&](std::size_t i, const std::uint8_t* enter, const std::uint8_t* leave) {
            for (int c = 0; c < 4; ++c) {
                q[i * 4 + c] = box.average(sum[c]);
                sum[c] += enter[c];
                sum[c] -= leave[c];
            }
        };
        // Three stretches, so that the clamping at either end stays out of
        // the long middle one.
        const std::size_t head = std::min<std::size_t>(k + 1, width);
        const std::size_t body_end = width > k + 1 ? width - k - 1 : 0;
        std::size_t i = 0;
        for (; i < head; ++i) step(i, p + std::min(i + k + 1, last) * 4, p);
        for (; i < body_end; ++i) step(i, p + (i + k + 1) * 4, p + (i - k) * 4);
        for (; i < width; ++i) step(i, p + last * 4, p + (i - k) * 4);
    }
}

// Rows [first, end) of `out`, each the window average down the columns of
// the whole of `in`. Columns go in strips whose running sums stay on the
// stack: a worker allocates nothing, so it cannot fail. Long strips keep the
// row reads sequential (8 KiB strips made a 4K blur a fifth faster than 1 KiB).
void box_rows_vertical(const std::uint8_t* in, std::uint8_t* out, std::uint32_t width, std::uint32_t height,
                       const BoxWindow& box, std::uint32_t first, std::uint32_t end) noexcept {
    constexpr std::size_t kStripBytes = 8192;
    const std::uint32_t k = box.k;
    const std::int64_t last = std::int64_t{height} - 1;
    const std::size_t stride = std::size_t{width} * 4;
    const auto row = [&](std::int64_t y) {
        return in + static_cast<std::size_t>(std::clamp<std::int64_t>(y, 0, last)) * stride;
    };
    std::array<std::uint32_t, kStripBytes> sums;
    for (std::size_t offset = 0; offset < stride; offset += kStripBytes) {
        const std::size_t count = std::min(kStripBytes, stride - offset);
        sums.fill(0);
        for (std::int64_t j = std::int64_t{first} - k; j <= std::int64_t{first} + k; ++j) {
            const std::uint8_t* p = row(j) + offset;
            for (std::size_t i = 0; i < count; ++i) sums[i] += p[i];
        }
        for (std::uint32_t y = first; y < end; ++y) {
            std::uint8_t* q = out + std::size_t{y} * stride + offset;
            const std::uint8_t* enter = row(std::int64_t{y} + k + 1) + offset;
            const std::uint8_t* leave = row(std::int64_t{y} - k) + offset;
            for (std::size_t i = 0; i < count; ++i) {
                q[i] = box.average(sums[i]);
                sums[i] += enter[i];
                sums[i] -= leave[i];
            }
        }
    }
}

// Runs band(first, end) over all rows, cut into bands of whole rows, one per
// worker, and returns when every band is done. The calling thread takes the
// first band itself; a band whose thread the system refused runs on the
// calling thread too, since a band left undone would show the very pixels
// the user hid.
template <class Band>
void run_in_bands(std::uint32_t rows, std::uint32_t workers, const ThreadStarter& start, const Band& band) {
    if (workers <= 1 || rows < 2) {
        band(0, rows);
        return;
    }
    const std::uint64_t chunk = (std::uint64_t{rows} + workers - 1) / workers;
    const auto band_end = [&](std::uint64_t first) {
        return static_cast<std::uint32_t>(std::min(first + chunk, std::uint64_t{rows}));
    };
    // Declared before anything that may fail: leaving this scope in any way
    // joins every started worker before `band` goes away.
    std::array<std::jthread, kMaxBlurWorkers> threads;
    std::array<std::uint32_t, kMaxBlurWorkers> refused{};
    std::size_t refused_count = 0;
    std::size_t index = 0;
    for (std::uint64_t first = chunk; first < rows; first += chunk, ++index) {
        const auto begin = static_cast<std::uint32_t>(first);
        const std::uint32_t end = band_end(first);
        if (start) threads[index] = start([&band, begin, end]() noexcept { band(begin, end); });
        if (!threads[index].joinable()) refused[refused_count++] = begin;
    }
    band(0, band_end(0));
    for (std::size_t i = 0; i < refused_count; ++i) band(refused[i], band_end(refused[i]));
}

}  // namespace

std::jthread start_worker_thread(std::function<void()> work) {
    try {
        return std::jthread(std::move(work));
    } catch (const std::system_error&) {
        return {};  // no thread to be had; the caller does the work itself
    }
}

BlurWorkers system_blur_workers() {
    return BlurWorkers{std::thread::hardware_concurrency(), start_worker_thread};
}

namespace {

Result<std::vector<std::uint8_t>> blur_rect(std::span<const std::uint8_t> pixels, std::uint32_t image_width,
                                            const BlurRect& rect, const BlurWorkers& workers) {
    if (rect.radius < kMinBlurRadius || rect.radius > kMaxBlurRadius)
        return invalid_input("Blur radius outside 3..32");
    // Checked in 64 bits so that no sum or product wraps; once the rows are
    // known to lie in the buffer, the rectangle's own byte count cannot wrap.
    const bool fits = rect.width > 0 && rect.height > 0 &&
                      std::uint64_t{rect.x} + rect.width <= image_width &&
                      std::uint64_t{rect.y} + rect.height <= pixels.size() / (std::uint64_t{image_width} * 4);
    if (!fits) return invalid_input("Blur rectangle outside the image");

    const std::uint32_t w = rect.width;
    const std::uint32_t h = rect.height;
    const std::uint64_t count = std::uint64_t{w} * h;
    const std::uint32_t threads =
        count >= kBlurParallelPixels ? std::clamp<std::uint32_t>(workers.processors, 1, kMaxBlurWorkers) : 1;

    std::vector<std::uint8_t> a(static_cast<std::size_t>(count) * 4);
    // Every byte of b is written before it is read.
    const auto b = std::make_unique_for_overwrite<std::uint8_t[]>(a.size());

    const ScatterSource source{pixels.data(), std::size_t{image_width} * 4, rect.x, rect.y, w, h,
                               rect.radius, mix(rect.seed + kGolden)};
    run_in_bands(h, threads, workers.start,
                 [&](std::uint32_t first, std::uint32_t end) noexcept { scatter_rows(source, a.data(), first, end); });

    const BoxWindow box(box_radius(rect.radius));
    for (int round = 0; round < 3; ++round) {
        run_in_bands(h, threads, workers.start, [&](std::uint32_t first, std::uint32_t end) noexcept {
            box_rows_horizontal(a.data(), b.get(), w, box, first, end);
        });
        run_in_bands(h, threads, workers.start, [&](std::uint32_t first, std::uint32_t end) noexcept {
            box_rows_vertical(b.get(), a.data(), w, h, box, first, end);
        });
    }
    return a;
}

}  // namespace

Result<std::vector<std::uint8_t>> blur_image_rects(std::span<const std::uint8_t> pixels, std::uint32_t image_width,
                                                   const BlurRect& rect, const BlurWorkers& workers) {
    try {
        return blur_rect(pixels, image_width, rect, workers);
    } catch (const std::bad_alloc&) {
        // Started workers are joined by then: their threads are owned inside.
        return out_of_memory("Blurring a rectangle");
    }
}

}  // namespace glimmerly

namespace glimmerly {
namespace {

// Rounds half away from zero and cuts at 0..limit; none when no whole pixel
// is left between the two ends.
std::optional<std::pair<std::uint32_t, std::uint32_t>> pixel_span(double a, double b, std::uint32_t limit) {
    const auto clamp = [limit](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::round(v), 0.0, static_cast<double>(limit)));
    };
    const std::uint32_t lo = clamp(std::min(a, b));
    const std::uint32_t hi = clamp(std::max(a, b));
    if (lo >= hi) return std::nullopt;
    return std::pair{lo, hi - lo};
}

// A smaller scatter would leave the blurred content recognisable; a larger
// one costs time without hiding more.
std::uint32_t scatter_radius(const Box& rect) {
    const double side = std::min(std::abs(rect.right - rect.left), std::abs(rect.bottom - rect.top));
    if (std::isinf(side)) return 7;
    const double radius = std::ceil(side * 0.2692307692307692);  // 7/26
    return static_cast<std::uint32_t>(
        std::clamp(radius, static_cast<double>(kMinBlurRadius), static_cast<double>(kMaxBlurRadius)));
}

void fill_opaque_black(BgraImage& image, const BlurRect& rect) {
    const std::uint32_t x_end = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        std::uint64_t{rect.x} + rect.width, image.width));
    const std::uint32_t y_end = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        std::uint64_t{rect.y} + rect.height, image.height));
    if (rect.x >= x_end || rect.y >= y_end) return;
    for (std::uint32_t y = rect.y; y < y_end; ++y) {
        std::uint8_t* p = image.pixels.data() + (std::size_t{y} * image.width + rect.x) * 4;
        for (std::uint32_t x = rect.x; x < x_end; ++x, p += 4) {
            p[0] = p[1] = p[2] = 0;
            p[3] = 255;
        }
    }
}

void paste_rows(BgraImage& image, const BlurRect& rect, const std::vector<std::uint8_t>& blurred) {
    const std::size_t row_bytes = std::size_t{rect.width} * 4;
    for (std::uint32_t row = 0; row < rect.height; ++row)
        std::memcpy(image.pixels.data() + (std::size_t{rect.y + row} * image.width + rect.x) * 4,
                    blurred.data() + row * row_bytes, row_bytes);
}

}  // namespace

std::uint64_t blur_rect_key(const BlurRect& rect) {
    // Each step is a bijection of the running key for fixed later fields, so
    // changing any one field changes the key.
    std::uint64_t key = 0;
    for (const std::uint64_t field : {rect.seed, std::uint64_t{rect.x}, std::uint64_t{rect.y},
                                      std::uint64_t{rect.width}, std::uint64_t{rect.height},
                                      std::uint64_t{rect.radius}})
        key = mix((key ^ field) + kGolden);
    return key;
}

std::vector<BlurRect> collect_blur_rects(std::span<const SceneObject> objects, std::uint32_t image_width,
                                         std::uint32_t image_height) {
    std::vector<BlurRect> rects;
    for (const SceneObject& object : objects) {
        const auto* blur = std::get_if<BlurPayload>(&object.payload);
        if (!blur) continue;
        const Box& r = blur->rect;
        if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) || !std::isfinite(r.bottom))
            continue;
        const auto xs = pixel_span(r.left, r.right, image_width);
        const auto ys = pixel_span(r.top, r.bottom, image_height);
        if (!xs || !ys) continue;
        rects.push_back(BlurRect{xs->first, ys->first, xs->second, ys->second, object.id, scatter_radius(r)});
    }
    return rects;
}

Result<BgraImage> bake_blur_rects(const BgraImage& image, std::span<const BlurRect> rects,
                                  const BlurWorkers& workers) {
    try {
        // Every rectangle reads the pixels as they were before any was pasted, so
        // overlapping blur objects never blur each other's result.
        BgraImage out = image;
        for (const BlurRect& rect : rects) {
            auto blurred = blur_image_rects(image.pixels, image.width, rect, workers);
            if (blurred.ok())
                paste_rows(out, rect, *blurred);
            else if (blurred.failure().code == E_OUTOFMEMORY_CODE)
                return std::move(blurred).failure();
            else
                fill_opaque_black(out, rect);
        }
        return out;
    } catch (const std::bad_alloc&) {
        return out_of_memory("Baking blur objects");
    }
}

Result<BlurredImage> blur_regions(const BgraImage& image, std::span<const SceneObject> objects,
                                  const BlurWorkers& workers) {
    const bool any_blur = std::any_of(objects.begin(), objects.end(),
                                      [](const SceneObject& o) { return o.kind() == ObjectKind::Blur; });
    if (!any_blur || !is_valid_bgra_image(image)) return BlurredImage::unchanged(image);
    try {
        const auto rects = collect_blur_rects(objects, image.width, image.height);
        auto baked = bake_blur_rects(image, rects, workers);
        if (!baked) return std::move(baked).failure();
        return BlurredImage::with_blur(std::move(*baked));
    } catch (const std::bad_alloc&) {
        return out_of_memory("Baking blur objects");
    }
}

}  // namespace glimmerly
