#pragma once
// The scenes of the demonstration pictures ("--render-demo"): the synthetic
// screen most of them start from, the editing states drawn through the real
// gestures, fill and text operations, and the object tables written directly.
// Everything here is platform-free; the Windows side renders and saves.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"
#include "core/startup/command_line.h"

namespace glimmerly {

inline constexpr std::uint32_t kDemoWidth = 1100;
inline constexpr std::uint32_t kDemoHeight = 680;
inline constexpr Rgb kDemoDark{24, 29, 36};
inline constexpr Rgb kDemoLight{242, 245, 248};
inline constexpr Rgb kDemoRed{237, 79, 92};
// The light page of the base frame, which the editor pictures select.
inline constexpr Box kDemoPage{70, 100, 1030, 600};

// Exactly "--render-demo", anywhere among the arguments.
bool has_render_demo_option(const Arguments& args);

// Opaque pixels of one colour.
BgraImage plain_frame(std::uint32_t width, std::uint32_t height, Rgb colour);
// Paints [left, right) x [top, bottom) of the frame, cut to it.
void fill_frame_rect(BgraImage& frame, std::uint32_t left, std::uint32_t top, std::uint32_t right,
                     std::uint32_t bottom, Rgb colour);

// 1100 x 680 of the dark colour with the light page over x 70..1029, y 100..599.
BgraImage demo_base_frame();

// An editor over the frame, one monitor of scale 1 covering it, still
// choosing its region.
EditorState demo_editor_over(BgraImage frame);

// The editor's region set and committed (no longer choosing).
void select_demo_region(EditorState& state, const Box& region);

// The title picture's objects drawn into an editor over the base frame: a
// rectangle, an ellipse, a Ctrl-dragged arrow and three texts.
EditorState demo_editing_state();

// One drag of a drawing or the select tool: press, one move, release.
void demo_gesture(EditorState& state, Point from, Point to, PointerModifiers modifiers = {});

// Puts the editing part of `from` (objects, selection, fills, history, the
// running gesture, tool, colour and sizes) in place of that of `into`; the
// frame, monitors, chrome and window part of `into` stay.
void replace_editing_part(EditorState& into, EditorState&& from);

// Before a scripted drag with another tool: the interface scale follows the
// anchor, a gesture left running gives its kept objects back, the
// eyedropper and fill mode end and nothing stays selected.
void prepare_demo_tool(EditorState& state, Tool tool);

// The parabola drawn on the slate: x = 160, 170, ..., 580 and
// y = 520 - (x - 160)^2 / 560.
std::vector<Point> slate_parabola_points();
// A chart on a dark slate: axes, the parabola, a filled rectangle and a
// filled circle, with their captions; the tool is the pen at the end.
EditorState build_slate_scene();

// The arch of the mini-toolbar picture: x = 200 + 11 i, y = 300 - 120 sin(pi i / 30).
std::vector<Point> mini_toolbar_arch_points();

// Where a label's text object goes for a box corner at that letter size: the
// text is inset 0.4 size across and 0.25 size down.
Point label_text_position(Point corner, double size);

// The object tables of the shape-scale, thick-stroke and bent-arrow pictures.
std::vector<SceneObject> shape_scale_objects();
std::vector<SceneObject> thick_stroke_objects();
std::vector<SceneObject> bent_arrow_objects();

// The rows of the label-samples picture, in creation order.
struct LabelSample {
    LabelMode mode;
    std::string text;
    Point corner;
    double size = 0.0;
    Rgb box;
    std::optional<Rgb> ink;
};
std::vector<LabelSample> label_samples();

// The five lines of the blur picture's order confirmation; the middle three
// are invented personal data.
std::vector<std::string> blur_sample_lines();

}  // namespace glimmerly
