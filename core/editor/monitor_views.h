#pragma once
// The editor window covers the whole virtual screen and shows the frozen
// frame one-to-one, except where a monitor is zoomed: that monitor's view
// then shows a smaller part of the frame, enlarged. Here are the views, the
// mapping of window points to frame points, wheel zoom and pan, and the
// interface scale (the DPI scale under the anchor) with the rescaling of the
// tool sizes when the anchor moves to a monitor of another DPI.
//
// Nothing here fails: with no monitors or views the mapping is the identity
// and the scale 1.0.

#include "core/editor/editor_state.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace glimmerly {

inline constexpr double kMinViewZoom = 1.0;
inline constexpr double kMaxViewZoom = 8.0;
// One wheel notch zooms by this factor.
inline constexpr double kZoomStep = 1.25;
inline constexpr std::int32_t kWheelNotch = 120;

// The centre of the selection, else the pointer: the interface scale and the
// placement of the chrome follow it.
Point interface_anchor(const EditorState& state);

// The interface scale at the anchor divided by the zoom of the view under
// the pointer: on-screen distances in interface units times this are frame
// distances.
double ui_scale_over_zoom(const EditorState& state);

// Recomputes the scale over zoom and, when the interface scale has changed
// since the tool sizes were last adjusted, scales them in proportion (rounded
// and clamped: stroke width 1..40, eraser 4..128, text 8..300).
void refresh_ui_scale(EditorState& state);

// One view per monitor at zoom 1, or one over the whole frame without
// monitors.
void new_monitor_views(EditorState& state);

// The index of the view that shows the window point: the view of the monitor
// under it, else the first; none without views.
std::optional<std::size_t> view_at_point(const EditorState& state, Point point);

// The frame point a view shows at a window point.
Point map_through_view(const MonitorView& view, Point point);

// Window point to frame point through the view under it; unchanged without
// views.
Point map_point_to_monitor(const EditorState& state, Point point);
Point map_pointer_to_monitor(const EditorState& state);
// Through the view under the anchor instead.
Point map_anchor_to_monitor(const EditorState& state, Point point);
// During a press on a zoomed view the point goes through that view and stays
// within the part of the frame it shows, so a drag that leaves the monitor
// stops at its edge.
Point map_point_for_press(const EditorState& state, Point point);

// Whole wheel notches in a delta, keeping the rest for the next message; a
// change of direction drops the partial notch. Wheel zoom and wheel resizing
// share the remainder.
int take_wheel_notches(EditorState& state, std::int16_t delta);

// Ctrl+wheel: zooms the view under the pointer about the pointer. False when
// there are no views.
bool zoom_view_by_steps(EditorState& state, std::int16_t delta);
// The view under the pointer back to zoom 1 at its own corner. False when
// there are no views.
bool reset_view_zoom(EditorState& state);
// One move of a running pan to the pointer (window pixels). False when no
// pan runs.
bool pan_view_to(EditorState& state, Point pointer);
// Keeps the view from showing frame pixels outside its own monitor.
void clamp_view_origin(MonitorView& view);

}  // namespace glimmerly
