#include "core/blur/blur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <utility>

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
        : k(k), reciprocal(((std::uint64_t{1} << 32) + 2 * k) / (2 * std::uint64_t{k} + 1)) {}

    std::uint8_t average(std::uint32_t sum) const {
        // Never above 255: a full window of 255 gives exactly 255.
        return static_cast<std::uint8_t>(((std::uint64_t{sum} + k) * reciprocal) >> 32);
    }

    std::uint32_t k;
    std::uint64_t reciprocal;  // ceil(2^32 / (2k + 1))
};

// Colour channels only: alpha enters every pass as 255, which the window
// average keeps, so it is written as 255 instead of being filtered.
constexpr int kColourBytes = 3;

struct ScatterSource {
    const std::uint8_t* pixels;
    std::size_t stride;  // image row length in bytes
    std::uint32_t x0, y0, width, height, radius;
    std::uint64_t seed_hash;
};

void scatter_rows(const ScatterSource& src, std::uint8_t* out, std::uint32_t first, std::uint32_t end) noexcept {
    const std::uint64_t n = 2 * std::uint64_t{src.radius} + 1;
    const std::int64_t last_x = std::int64_t{src.width} - 1;
    const std::int64_t last_y = std::int64_t{src.height} - 1;
    for (std::uint32_t y = first; y < end; ++y) {
        std::uint8_t* row = out + std::size_t{y} * src.width * 4;
        for (std::uint32_t x = 0; x < src.width; ++x) {
            const std::uint64_t z = mix((((std::uint64_t{x} << 32) | y) ^ src.seed_hash) + kGolden);
            const auto a = static_cast<std::int64_t>(((z & 0xffffffffu) * n) >> 32);
            const auto b = static_cast<std::int64_t>(((z >> 32) * n) >> 32);
            const std::int64_t sx = std::clamp<std::int64_t>(x + a - src.radius, 0, last_x);
            const std::int64_t sy = std::clamp<std::int64_t>(y + b - src.radius, 0, last_y);
            const std::uint8_t* p = src.pixels + (src.y0 + static_cast<std::size_t>(sy)) * src.stride +
                                    (src.x0 + static_cast<std::size_t>(sx)) * 4;
            std::uint8_t* q = row + std::size_t{x} * 4;
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
            q[3] = 255;
        }
    }
}

// Rows [first, end) of `out`, each the window average along its own row of `in`.
void box_rows_horizontal(const std::uint8_t* in, std::uint8_t* out, std::uint32_t width, const BoxWindow& box,
                         std::uint32_t first, std::uint32_t end) noexcept {
    const std::uint32_t k = box.k;
    const std::uint32_t last = width - 1;
    for (std::uint32_t y = first; y < end; ++y) {
        const std::uint8_t* p = in + std::size_t{y} * width * 4;
        std::uint8_t* q = out + std::size_t{y} * width * 4;
        for (int c = 0; c < kColourBytes; ++c) {
            std::uint32_t sum = (k + 1) * p[c];
            for (std::uint32_t j = 1; j <= k; ++j) sum += p[std::size_t{std::min(j, last)} * 4 + c];
            for (std::uint32_t i = 0; i < width; ++i) {
                q[std::size_t{i} * 4 + c] = box.average(sum);
                const std::uint32_t enter = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{i} + k + 1, last));
                const std::uint32_t leave = i > k ? i - k : 0;
                sum += p[std::size_t{enter} * 4 + c];
                sum -= p[std::size_t{leave} * 4 + c];
            }
        }
        for (std::uint32_t i = 0; i < width; ++i) q[std::size_t{i} * 4 + 3] = 255;
    }
}

// Rows [first, end) of `out`, each the window average down the columns of
// the whole of `in`. Columns go in strips whose running sums stay on the
// stack: a worker allocates nothing, so it cannot fail.
void box_rows_vertical(const std::uint8_t* in, std::uint8_t* out, std::uint32_t width, std::uint32_t height,
                       const BoxWindow& box, std::uint32_t first, std::uint32_t end) noexcept {
    constexpr std::uint32_t kStrip = 64;
    const std::uint32_t k = box.k;
    const std::int64_t last = std::int64_t{height} - 1;
    const std::size_t stride = std::size_t{width} * 4;
    const auto row = [&](std::int64_t y) { return in + static_cast<std::size_t>(std::clamp<std::int64_t>(y, 0, last)) * stride; };
    std::array<std::uint32_t, kStrip * kColourBytes> sums;
    for (std::uint32_t x0 = 0; x0 < width; x0 += kStrip) {
        const std::uint32_t count = std::min(kStrip, width - x0);
        const std::size_t offset = std::size_t{x0} * 4;
        sums.fill(0);
        for (std::int64_t j = std::int64_t{first} - k; j <= std::int64_t{first} + k; ++j) {
            const std::uint8_t* p = row(j) + offset;
            for (std::uint32_t i = 0; i < count; ++i)
                for (int c = 0; c < kColourBytes; ++c) sums[i * kColourBytes + c] += p[i * 4 + c];
        }
        for (std::uint32_t y = first; y < end; ++y) {
            std::uint8_t* q = out + std::size_t{y} * stride + offset;
            const std::uint8_t* enter = row(std::int64_t{y} + k + 1) + offset;
            const std::uint8_t* leave = row(std::int64_t{y} - k) + offset;
            for (std::uint32_t i = 0; i < count; ++i) {
                for (int c = 0; c < kColourBytes; ++c) {
                    std::uint32_t& sum = sums[i * kColourBytes + c];
                    q[i * 4 + c] = box.average(sum);
                    sum += enter[i * 4 + c];
                    sum -= leave[i * 4 + c];
                }
                q[i * 4 + 3] = 255;
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
    const auto band_end = [&](std::uint64_t first) { return static_cast<std::uint32_t>(std::min(first + chunk, std::uint64_t{rows})); };
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

Result<std::vector<std::uint8_t>> blur_image_rects(std::span<const std::uint8_t> pixels, std::uint32_t image_width,
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
    std::vector<std::uint8_t> b(a.size());

    const ScatterSource source{pixels.data(), std::size_t{image_width} * 4, rect.x, rect.y, w, h,
                               rect.radius, mix(rect.seed + kGolden)};
    run_in_bands(h, threads, workers.start,
                 [&](std::uint32_t first, std::uint32_t end) noexcept { scatter_rows(source, a.data(), first, end); });

    const BoxWindow box(box_radius(rect.radius));
    for (int round = 0; round < 3; ++round) {
        run_in_bands(h, threads, workers.start, [&](std::uint32_t first, std::uint32_t end) noexcept {
            box_rows_horizontal(a.data(), b.data(), w, box, first, end);
        });
        run_in_bands(h, threads, workers.start, [&](std::uint32_t first, std::uint32_t end) noexcept {
            box_rows_vertical(b.data(), a.data(), w, h, box, first, end);
        });
    }
    return a;
}

}  // namespace glimmerly
