#include "core/blur/blur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <condition_variable>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <utility>
#include <variant>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// The same averages eight at a time in 16-bit lanes: a window sum is at most
// 255 x 27 = 6885. With 2^(shift + 1) >= 2k + 1, the multiplier
// ceil(2^(16 + shift) / (2k + 1)) stays below 2^16, and ((S + k) x it) >> (16 +
// shift) equals the 32-bit form for every sum a window can hold: both are
// floor((S + k) / (2k + 1)), since the multiplier's excess, times S + k, stays
// below 2^(16 + shift) / (2k + 1). (Checked once for every k and sum; the
// tests compare whole blurs with direct window averages at every radius.)
struct BoxLanes {
    explicit BoxLanes(std::uint32_t k) {
        const std::uint32_t d = 2 * k + 1;
        int s = 0;
        while ((2u << s) < d) ++s;
        half = _mm_set1_epi16(static_cast<short>(k));
        multiplier = _mm_set1_epi16(static_cast<short>(((1u << (16 + s)) + d - 1) / d));
        shift = _mm_cvtsi32_si128(s);
    }

    __m128i average(__m128i sums) const {
        return _mm_srl_epi16(_mm_mulhi_epu16(_mm_add_epi16(sums, half), multiplier), shift);
    }

    __m128i half, multiplier, shift;
};
#endif

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
    constexpr std::int64_t kFetchAhead = 4;  // rows
    const std::uint64_t n = 2 * std::uint64_t{src.radius} + 1;
    const std::int64_t last_x = std::int64_t{src.width} - 1;
    const std::int64_t last_y = std::int64_t{src.height} - 1;
    const std::uint8_t* origin = src.pixels + src.y0 * src.stride + std::size_t{src.x0} * 4;
    for (std::uint32_t tile = 0; tile < src.width; tile += kTile) {
        const std::uint32_t tile_end = tile + std::min(kTile, src.width - tile);
        // Each row brings a new source row into reach; fetched a few rows
        // ahead, it is in cache when the reads land on it. Waiting for memory
        // at each miss made the scatter half of a one-thread blur; fetched
        // ahead, it is a third.
        const std::size_t fetch_first = std::size_t{tile > src.radius ? tile - src.radius : 0} * 4;
        const std::size_t fetch_end = std::min<std::size_t>(std::size_t{tile_end} + src.radius, src.width) * 4;
        for (std::uint32_t y = first; y < end; ++y) {
#if defined(__SSE2__)
            const std::int64_t ahead = std::min<std::int64_t>(std::int64_t{y} + src.radius + kFetchAhead, last_y);
            const std::uint8_t* fetch = origin + static_cast<std::size_t>(ahead) * src.stride;
            for (std::size_t at = fetch_first; at < fetch_end; at += 64)
                _mm_prefetch(reinterpret_cast<const char*>(fetch + at), _MM_HINT_T0);
#endif
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

#if defined(__SSE2__)
// One pixel of each of two rows in the eight 16-bit lanes of a register.
__m128i pixel_pair(const std::uint8_t* p0, const std::uint8_t* p1) {
    std::int32_t v0, v1;
    std::memcpy(&v0, p0, 4);
    std::memcpy(&v1, p1, 4);
    return _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(v0), _mm_cvtsi32_si128(v1)), _mm_setzero_si128());
}

// Rows [first, end) of `out`, each the window average along its own row of
// `in`. Two rows go side by side, four bytes of a pixel each, so that one
// register carries eight running sums; scalar sums per byte took four times
// the instructions.
void box_rows_horizontal(const std::uint8_t* in, std::uint8_t* out, std::uint32_t width, const BoxWindow& box,
                         std::uint32_t first, std::uint32_t end) noexcept {
    const BoxLanes lanes(box.k);
    const std::uint32_t k = box.k;
    const std::size_t last = width - 1;
    const std::size_t stride = std::size_t{width} * 4;
    for (std::uint32_t y = first; y < end; y += 2) {
        // A band of an odd number of rows pairs its last row with itself.
        const std::uint32_t y1 = y + 1 < end ? y + 1 : y;
        const std::uint8_t* p0 = in + y * stride;
        const std::uint8_t* p1 = in + y1 * stride;
        std::uint8_t* q0 = out + y * stride;
        std::uint8_t* q1 = out + y1 * stride;
        __m128i sum = _mm_mullo_epi16(pixel_pair(p0, p1), _mm_set1_epi16(static_cast<short>(k + 1)));
        for (std::size_t j = 1; j <= k; ++j) {
            const std::size_t at = std::min(j, last) * 4;
            sum = _mm_add_epi16(sum, pixel_pair(p0 + at, p1 + at));
        }
        const auto step = [&](std::size_t i, std::size_t enter, std::size_t leave) {
            const __m128i averages = lanes.average(sum);
            const __m128i bytes = _mm_packus_epi16(averages, averages);
            const auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(bytes));
            std::memcpy(q0 + i * 4, &low, 4);
            std::memcpy(q1 + i * 4, reinterpret_cast<const std::uint8_t*>(&low) + 4, 4);
            sum = _mm_sub_epi16(_mm_add_epi16(sum, pixel_pair(p0 + enter * 4, p1 + enter * 4)),
                                pixel_pair(p0 + leave * 4, p1 + leave * 4));
        };
        // Three stretches, so that the clamping at either end stays out of
        // the long middle one.
        const std::size_t head = std::min<std::size_t>(k + 1, width);
        const std::size_t body_end = width > k + 1 ? width - k - 1 : 0;
        std::size_t i = 0;
        for (; i < head; ++i) step(i, std::min(i + k + 1, last), 0);
        for (; i < body_end; ++i) step(i, i + k + 1, i - k);
        for (; i < width; ++i) step(i, last, i - k);
    }
}
#else
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

#endif

// Rows [first, end) of `out`, each the window average down the columns of
// the whole of `in`. Columns go in strips whose running sums stay on the
// stack: a worker allocates nothing, so it cannot fail. Long strips keep the
// row reads sequential (8 KiB strips made a 4K blur a fifth faster than 1 KiB).
// The sums fit 16 bits, so sixteen bytes go through two registers at a time.
void box_rows_vertical(const std::uint8_t* in, std::uint8_t* out, std::uint32_t width, std::uint32_t height,
                       const BoxWindow& box, std::uint32_t first, std::uint32_t end) noexcept {
    constexpr std::size_t kStripBytes = 8192;
    const std::uint32_t k = box.k;
    const std::int64_t last = std::int64_t{height} - 1;
    const std::size_t stride = std::size_t{width} * 4;
    const auto row = [&](std::int64_t y) {
        return in + static_cast<std::size_t>(std::clamp<std::int64_t>(y, 0, last)) * stride;
    };
#if defined(__SSE2__)
    const BoxLanes lanes(k);
    const __m128i zero = _mm_setzero_si128();
#endif
    alignas(16) std::array<std::uint16_t, kStripBytes> sums;
    for (std::size_t offset = 0; offset < stride; offset += kStripBytes) {
        const std::size_t count = std::min(kStripBytes, stride - offset);
        sums.fill(0);
        for (std::int64_t j = std::int64_t{first} - k; j <= std::int64_t{first} + k; ++j) {
            const std::uint8_t* p = row(j) + offset;
            for (std::size_t i = 0; i < count; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + p[i]);
        }
        for (std::uint32_t y = first; y < end; ++y) {
            std::uint8_t* q = out + std::size_t{y} * stride + offset;
            const std::uint8_t* enter = row(std::int64_t{y} + k + 1) + offset;
            const std::uint8_t* leave = row(std::int64_t{y} - k) + offset;
            std::size_t i = 0;
#if defined(__SSE2__)
            for (; i + 16 <= count; i += 16) {
                __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(&sums[i]));
                __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(&sums[i + 8]));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(q + i),
                                 _mm_packus_epi16(lanes.average(low), lanes.average(high)));
                const __m128i in_bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(enter + i));
                const __m128i out_bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(leave + i));
                low = _mm_sub_epi16(_mm_add_epi16(low, _mm_unpacklo_epi8(in_bytes, zero)),
                                    _mm_unpacklo_epi8(out_bytes, zero));
                high = _mm_sub_epi16(_mm_add_epi16(high, _mm_unpackhi_epi8(in_bytes, zero)),
                                     _mm_unpackhi_epi8(out_bytes, zero));
                _mm_store_si128(reinterpret_cast<__m128i*>(&sums[i]), low);
                _mm_store_si128(reinterpret_cast<__m128i*>(&sums[i + 8]), high);
            }
#endif
            for (; i < count; ++i) {
                q[i] = box.average(sums[i]);
                sums[i] = static_cast<std::uint16_t>(sums[i] + enter[i] - leave[i]);
            }
        }
    }
}

// Holds each thread of a blur at the end of a pass until every thread has
// ended it. Workers first wait at the start gate, until the calling thread
// knows how many of them the system gave it.
class PassBarrier {
public:
    void open(std::size_t threads) noexcept {
        {
            const std::lock_guard lock(mutex_);
            threads_ = threads;
        }
        changed_.notify_all();
    }
    void wait_open() noexcept {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return threads_ != 0; });
    }
    void arrive_and_wait() noexcept {
        std::unique_lock lock(mutex_);
        const std::uint64_t round = round_;
        if (++arrived_ == threads_) {
            arrived_ = 0;
            ++round_;
            lock.unlock();
            changed_.notify_all();
            return;
        }
        changed_.wait(lock, [&] { return round_ != round; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t threads_ = 0;
    std::size_t arrived_ = 0;
    std::uint64_t round_ = 0;
};

// Runs the passes over all rows, cut into bands of whole rows, one per
// worker: passes(bands, barrier) runs every pass over the bands it is given,
// meeting the other threads at the barrier between passes. The workers start
// once for all the passes: a start and a join per pass were 49 per blur. The
// calling thread takes the first band itself; a band whose thread the system
// refused runs on the calling thread too, since a band left undone would show
// the very pixels the user hid.
template <class Passes>
void run_in_bands(std::uint32_t rows, std::uint32_t workers, const ThreadStarter& start, const Passes& passes) {
    struct Band {
        std::uint32_t first, end;
    };
    struct NoBarrier {
        void arrive_and_wait() noexcept {}
    };
    if (workers <= 1 || rows < 2) {
        NoBarrier alone;
        const Band all{0, rows};
        passes(std::span(&all, 1), alone);
        return;
    }
    const std::uint64_t chunk = (std::uint64_t{rows} + workers - 1) / workers;
    std::array<Band, kMaxBlurWorkers> bands;
    std::size_t band_count = 0;
    for (std::uint64_t first = 0; first < rows; first += chunk)
        bands[band_count++] = Band{static_cast<std::uint32_t>(first),
                                   static_cast<std::uint32_t>(std::min(first + chunk, std::uint64_t{rows}))};
    // Declared before the threads, so that the threads are joined first.
    PassBarrier barrier;
    std::array<Band, kMaxBlurWorkers> own;
    own[0] = bands[0];
    std::size_t own_count = 1;
    std::size_t started = 0;
    std::array<std::jthread, kMaxBlurWorkers> threads;
    for (std::size_t i = 1; i < band_count; ++i) {
        const Band* band = &bands[i];
        try {
            if (start)
                threads[i] = start([&passes, &barrier, band]() noexcept {
                    barrier.wait_open();
                    passes(std::span(band, 1), barrier);
                });
        } catch (...) {
            threads[i] = {};  // as refused: the work stays here
        }
        if (threads[i].joinable())
            ++started;
        else
            own[own_count++] = bands[i];
    }
    barrier.open(started + 1);
    passes(std::span(own.data(), own_count), barrier);
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

Result<BlurPixels> blur_rect(std::span<const std::uint8_t> pixels, std::uint32_t image_width, const BlurRect& rect,
                             const BlurWorkers& workers) {
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

    BlurPixels a(static_cast<std::size_t>(count) * 4);
    // Every byte of b is written before it is read.
    const auto b = std::make_unique_for_overwrite<std::uint8_t[]>(a.size());

    const ScatterSource source{pixels.data(), std::size_t{image_width} * 4, rect.x, rect.y, w, h,
                               rect.radius, mix(rect.seed + kGolden)};
    const BoxWindow box(box_radius(rect.radius));
    // A band's scatter and horizontal passes read only its own rows of `a`,
    // which it wrote itself; a vertical pass reads all of `b`, so every band
    // waits for the others before it and before `b` is written again.
    run_in_bands(h, threads, workers.start, [&](const auto& bands, auto& barrier) noexcept {
        for (const auto& band : bands) scatter_rows(source, a.data(), band.first, band.end);
        for (int round = 0; round < 3; ++round) {
            if (round > 0) barrier.arrive_and_wait();
            for (const auto& band : bands) box_rows_horizontal(a.data(), b.get(), w, box, band.first, band.end);
            barrier.arrive_and_wait();
            for (const auto& band : bands) box_rows_vertical(b.get(), a.data(), w, h, box, band.first, band.end);
        }
    });
    return a;
}

}  // namespace

Result<BlurPixels> blur_image_rects(std::span<const std::uint8_t> pixels, std::uint32_t image_width,
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

void paste_rows(BgraImage& image, const BlurRect& rect, const BlurPixels& blurred) {
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
