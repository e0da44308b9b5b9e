#pragma once
// How often presentation mode draws: 16 ms while something moves, 33 ms
// while something only fades, and no timer at all when nothing changes, so
// that an idle presentation costs nothing.

#include <cstdint>
#include <optional>

#include "core/base/result.h"
#include "core/pointer/pointer_state.h"
#include "core/pointer/presentation_features.h"

namespace glimmerly {

inline constexpr std::uint32_t kMovingFrameMs = 16;
inline constexpr std::uint32_t kFadingFrameMs = 33;
// The pointer counts as moving (the spotlight hides) this long after a move.
inline constexpr std::uint64_t kPointerMovingMs = 250;

// What the frame choice looks at besides the pointer state.
struct FrameNeeds {
    PresentationFeatures features;
    bool spotlight_refresh = false;
    bool spotlight_key_held = false;
    bool magnifier_held = false;
    bool shapes_exist = false;
    bool key_cap_fading = false;
    bool mouse_diagram_fading = false;
    std::optional<std::uint64_t> last_press;
};

// The longest wait between two frames of a thread that is behind.
inline constexpr std::uint32_t kSlowestFrameMs = 200;

// `interval_ms` (0: no timer), lengthened so that the thread waits at least
// as long as its last frame took, `last_frame_ms`: on a busy machine a frame
// can outlast the interval, and frames back to back would keep every
// shortcut, press and drag waiting behind one. A late frame is dropped, not
// queued; the picture catches up with the next.
std::uint32_t paced_frame_interval(std::uint32_t interval_ms, std::uint32_t last_frame_ms);

// 16, 33, or 0 for no timer. `settings` are the stored pointer settings.
std::uint32_t choose_frame_interval(const FrameNeeds& needs, const PointerState& pointer,
                                    const PointerSettings& settings, std::uint64_t now);

// The timer's side of the platform.
class FrameTimerHost {
public:
    virtual Status set_frame_timer(std::uint32_t interval_ms) = 0;
    virtual void kill_frame_timer() = 0;

protected:
    ~FrameTimerHost() = default;
};

struct FrameTimer {
    bool set = false;
    std::uint32_t interval_ms = 0;
};

// Moves the timer to `interval_ms` (0: none), asking the platform only for
// a change; a refused timer leaves the record as it was.
Status schedule_frame_timer(FrameTimer& timer, std::uint32_t interval_ms, FrameTimerHost& host);

}  // namespace glimmerly
