#pragma once
// Decisions of the editor frame's scene passes and of the overlay drawn in
// frame coordinates: which passes a frame takes with their transforms and
// scales, the shade around the selection, the selection's handles and the
// colours the overlay uses. The Direct2D side draws what these say.

#include "core/editor/editor_state.h"
#include "core/render/interface_colours.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace glimmerly {

// One scene pass of a frame: frame point p lands at window point
// offset + p x zoom.
struct ScenePass {
    std::optional<Box> clip;  // the view's window rectangle; none on the single path
    double zoom = 1.0;
    Point offset;
    double scale = 1.0;  // interface units to drawing units: the monitor scale over the zoom
    bool zoomed = false;
    // The per-view path draws the captured picture in each pass, smoothed
    // when enlarged; the single path draws it once as the frame begins.
    bool draws_background = false;
    bool smooth_background = false;

    friend bool operator==(const ScenePass&, const ScenePass&) = default;
};

// A frame without zoomed views (or without views) takes the single path:
// one pass over the whole frame at the anchor monitor's scale. Otherwise one
// pass per view, in list order.
struct FramePlan {
    bool single_path = true;
    std::vector<ScenePass> passes;
};
FramePlan plan_frame(const EditorState& state);

// Overlay colours besides the accent.
inline constexpr Rgb kHandleWhite{250, 250, 250};
inline constexpr Rgb kHandleDark{32, 32, 32};
inline constexpr Rgb kEraseRed{235, 64, 52};
inline constexpr float kShadeOpacity = 0.48f;  // black over everything outside the selection
inline constexpr float kErasePreviewOpacity = 0.3f;

// What is shaded: the whole frame without a selection; else the bands
// above, below, left and right of it, in that order (a band is empty where
// the selection touches the frame's edge).
std::vector<Box> shade_bands(const std::optional<Box>& selection, std::uint32_t frame_width,
                             std::uint32_t frame_height);

// The selection's eight handles, clockwise from the top-left corner, as the
// squares they are drawn: 4 units either side of the point.
inline constexpr double kRegionHandleHalf = 4.0;
inline constexpr double kRegionHandleOutline = 1.5;
std::array<Box, 8> region_handle_squares(const Box& selection, double unit);

// The halo under the fill preview's dashes: dark under a light fill colour,
// light under a dark one.
Rgb fill_preview_halo(Rgb fill);

// The steps of a scene pass in drawing order. Without a selection only the
// blurred regions and the shade are drawn.
enum class SceneLayer : std::uint8_t {
    BlurRegions,
    Shade,  // the whole frame without a selection
    BackgroundFills,
    ShadeBands,
    Objects,
    LiveText,
    SelectionBorder,
    RegionHandles,
    FillPreview,
    EraseOutlines,
    SelectionFrame,
    HoverOutlines,
    RotationHandle,
    ArrowEnd,
    ConnectorPoints,
    Marquee,
};
inline constexpr std::array kSceneLayers{
    SceneLayer::BlurRegions,   SceneLayer::Shade,          SceneLayer::BackgroundFills, SceneLayer::ShadeBands,
    SceneLayer::Objects,       SceneLayer::LiveText,       SceneLayer::SelectionBorder, SceneLayer::RegionHandles,
    SceneLayer::FillPreview,   SceneLayer::EraseOutlines,  SceneLayer::SelectionFrame,  SceneLayer::HoverOutlines,
    SceneLayer::RotationHandle, SceneLayer::ArrowEnd,      SceneLayer::ConnectorPoints, SceneLayer::Marquee,
};

}  // namespace glimmerly
