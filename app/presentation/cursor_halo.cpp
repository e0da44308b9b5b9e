#include "app/presentation/cursor_halo.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {
namespace {

constexpr float kHaloOpacity = 0.14f;
constexpr float kPressedHaloOpacity = 0.24f;
constexpr Rgb kPressedHaloColour{237, 79, 92};
constexpr double kPulseGrowth = 0.4;

}  // namespace

void draw_cursor_halo(PresentationLayer& layer, Rgb colour, bool pressed, std::optional<double> pulse) {
    const double side = std::min(layer.width, layer.height);
    const double growth = pulse && std::isfinite(*pulse) ? 1.0 + kPulseGrowth * std::clamp(*pulse, 0.0, 1.0) : 1.0;
    const auto radius = static_cast<float>(side / 3.0 * growth);
    layer.brush->SetColor(pressed ? d2d_colour(kPressedHaloColour, kPressedHaloOpacity)
                                  : d2d_colour(colour, kHaloOpacity));
    const D2D1_ELLIPSE disc{{layer.width / 2.0f, layer.height / 2.0f}, radius, radius};
    layer.resources->dc_target->FillEllipse(disc, layer.brush.get());
    layer.dirty = Box{0, 0, double(layer.width), double(layer.height)};
}

}  // namespace glimmerly
