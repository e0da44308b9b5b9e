#include "core/site_previews/presentation_film.h"

#include <cmath>
#include <cstdlib>

#include "core/base/saturate.h"

namespace glimmerly {
namespace {

constexpr std::array<PresentationFilmShape, 3> kShapes{{
    {pack_presentation_key(u'R', 0x13, TemporaryShapeKind::Rectangle), {566, 138}, {848, 316}},
    {pack_presentation_key(u'A', 0x1E, TemporaryShapeKind::Arrow), {380, 126}, {556, 196}},
    {pack_presentation_key(u'C', 0x2E, TemporaryShapeKind::Ellipse), {447.5, 250}, {496.5, 250}},
}};

constexpr std::uint64_t kMouseReleaseLitMs = 180;

std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

Status hold(PresentationDemo& demo, PresentationFrameSink& sink, int frames) {
    for (int i = 0; i < frames; ++i) GLIM_TRY(write_presentation_frame(demo, sink, demo.pointer));
    return ok_status();
}

void colour_pending(PresentationDemo& demo) {
    if (demo.shapes.pending) demo.shapes.pending->color = kPresentationShapeColour;
}

// Eased steps from the pointer to the target, the shape following each.
Status glide(PresentationDemo& demo, PresentationFrameSink& sink, Point target, int steps) {
    const Point from = demo.pointer;
    for (int i = 1; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double s = t * t * (3.0 - 2.0 * t);
        const Point at{from.x + (target.x - from.x) * s, from.y + (target.y - from.y) * s};
        drag_temporary_shape(demo.shapes, at.x, at.y, false, false);
        colour_pending(demo);
        GLIM_TRY(write_presentation_frame(demo, sink, at));
    }
    return ok_status();
}

void press(PresentationDemo& demo) {
    demo.mouse.buttons[0].pressed = true;
    demo.pressed[0] = true;
    demo.pulse = true;
    demo.pulse_start = demo.clock;
    if (demo.shapes.armed == TemporaryShapeKind::None) return;
    begin_temporary_shape(demo.shapes, demo.pointer.x, demo.pointer.y);
    if (!demo.shapes.pending) return;
    demo.shapes.pending->color = kPresentationShapeColour;
    demo.shapes.pending->width = kPresentationShapeWidth;
    demo.size = kPresentationShapeSize;
    demo.shapes.pending_head_size = demo.size;
}

void release(PresentationDemo& demo) {
    ShownMousePart& left = demo.mouse.buttons[0];
    if (left.pressed) {
        left.lit_until = saturating_add(demo.clock, kMouseReleaseLitMs);
        left.pressed = false;
    }
    demo.pressed[0] = false;
    (void)commit_temporary_shape(demo.shapes, demo.clock, kPresentationShapeLifetimeMs);
}

bool near_colour(const std::uint8_t* a, const std::uint8_t* b) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(int(a[c]) - int(b[c])) > 8) return false;
    return true;
}

}  // namespace

std::span<const PresentationFilmShape> presentation_film_shapes() { return kShapes; }

Status write_presentation_frame(PresentationDemo& demo, PresentationFrameSink& sink, Point at) {
    (void)remove_expired_shapes(demo.shapes, demo.clock);
    GLIM_TRY(sink.draw_frame(demo, at));
    if (demo.write) demo.track.push_back(at);
    demo.pointer = at;
    demo.clock += kPresentationFrameMs;
    return ok_status();
}

Status script_presentation_frames(PresentationDemo& demo, PresentationFrameSink& sink,
                                  const PresentationFilmShape& shape) {
    const std::uint16_t scan = presentation_key_scan(shape.key);
    const char16_t character = presentation_key_character(shape.key);

    record_key_event(demo.keys, kLeftAltScan, false, true, demo.clock);
    GLIM_TRY(hold(demo, sink, 3));
    record_key_event(demo.keys, scan, false, true, demo.clock);
    // The key shows its letter whatever the keyboard layout would name it.
    set_key_display_label(demo.keys, scan, false, std::span<const char16_t>(&character, 1));
    drop_armed_shape(demo.shapes);
    demo.shapes.armed = presentation_key_kind(shape.key);
    GLIM_TRY(hold(demo, sink, 6));
    record_key_event(demo.keys, scan, false, false, demo.clock);
    GLIM_TRY(hold(demo, sink, 2));
    record_key_event(demo.keys, kLeftAltScan, false, false, demo.clock);
    GLIM_TRY(hold(demo, sink, 3));

    GLIM_TRY(glide(demo, sink, shape.start, 10));
    press(demo);
    GLIM_TRY(hold(demo, sink, 3));
    GLIM_TRY(glide(demo, sink, shape.end, 22));
    GLIM_TRY(hold(demo, sink, 2));
    release(demo);
    return hold(demo, sink, 8);
}

Status script_presentation_pass(PresentationDemo& demo, PresentationFrameSink& sink) {
    for (const PresentationFilmShape& shape : kShapes) GLIM_TRY(script_presentation_frames(demo, sink, shape));
    return ok_status();
}

std::optional<double> presentation_pulse_progress(const PresentationDemo& demo) {
    if (!demo.pulse || demo.clock < demo.pulse_start) return std::nullopt;
    const std::uint64_t age = demo.clock - demo.pulse_start;
    if (age >= kPresentationPulseMs) return std::nullopt;
    return double(age) / double(kPresentationPulseMs);
}

bool presentation_halo_pressed(const PresentationDemo& demo) {
    return demo.pressed[0] || demo.pressed[1] || demo.pressed[2];
}

std::array<std::int32_t, 2> presentation_halo_origin(Point pointer) {
    const std::int32_t half = kPresentationHaloSize / 2;
    const auto corner = [&](double v) {
        const std::int32_t at = saturating_i32(v);
        return at < INT32_MIN + half ? INT32_MIN : at - half;
    };
    return {corner(pointer.x), corner(pointer.y)};
}

Status check_presentation_axis(const BgraImage& picture) {
    constexpr std::uint32_t kRow = 250, kColumn = 447;
    const Failure off_axis = plain_failure("the circle is off the axis of the April bar");
    if (!is_valid_bgra_image(picture) || picture.width <= kColumn || picture.height <= kRow) return off_axis;
    const std::uint8_t* row = picture.pixels.data() + std::size_t(kRow) * picture.width * 4;
    const std::uint8_t* reference = row + kColumn * 4;
    std::int64_t left = 0, right = 0;
    for (std::int64_t x = kColumn - 1; x >= 0 && near_colour(row + x * 4, reference); --x) ++left;
    for (std::int64_t x = kColumn + 1; x < std::int64_t(picture.width) && near_colour(row + x * 4, reference); ++x)
        ++right;
    if (std::abs(double(right - left) * 0.5) > 0.5) return off_axis;
    return ok_status();
}

}  // namespace glimmerly
