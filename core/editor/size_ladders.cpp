#include "core/editor/size_ladders.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <span>

namespace glimmerly {

namespace {

constexpr std::array<double, 31> kTextSizes = {8,  10, 12, 14, 16, 18,  20,  22,  24,  28,  32,
                                               36, 40, 44, 48, 56, 64,  72,  80,  88,  96,  112,
                                               128, 144, 160, 176, 192, 224, 256, 288, 300};
constexpr std::array<double, 18> kStrokeWidths = {1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 16, 20, 24, 28, 32, 36, 40};
constexpr std::array<double, 21> kEraserSizes = {4,  5,  6,  7,  8,  10, 12, 14,  16,  20, 24,
                                                 28, 32, 40, 48, 56, 64, 80, 96, 112, 128};

double step_on(std::span<const double> ladder, double value, int notches) {
    if (notches == 0) return value;
    // A value that is no number has no neighbour; it starts from the bottom.
    if (std::isnan(value)) return ladder.front();
    // More steps than rungs change nothing further. (|INT_MIN| is no int,
    // hence the wider type.)
    const auto wanted = static_cast<std::size_t>(std::llabs(static_cast<long long>(notches)));
    const std::size_t steps = std::min(ladder.size(), wanted);
    for (std::size_t i = 0; i < steps; ++i) {
        if (notches > 0) {
            const auto next = std::upper_bound(ladder.begin(), ladder.end(), value);
            if (next == ladder.end()) break;
            value = *next;
        } else {
            const auto next = std::lower_bound(ladder.begin(), ladder.end(), value);
            if (next == ladder.begin()) break;
            value = *(next - 1);
        }
    }
    return value;
}

}  // namespace

double step_text_size(double size, int notches) { return step_on(kTextSizes, size, notches); }
double step_stroke_width(double width, int notches) { return step_on(kStrokeWidths, width, notches); }
double step_eraser_size(double size, int notches) { return step_on(kEraserSizes, size, notches); }

}  // namespace glimmerly
