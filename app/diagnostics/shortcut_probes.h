#pragma once
// The probes of "--presentation-diagnostic". A hotkey registered without a
// window belongs to the thread that registered it, so whatever must stand
// for another program holding a combination runs on a thread of its own:
// the shortcut probe holds one combination while the collision probe checks
// how the presentation mode treats it, and the release probe proves at the
// end that every combination can be taken again.

#include <windows.h>

#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "app/presentation/presentation.h"
#include "core/base/channel.h"
#include "core/base/result.h"
#include "core/diagnostics/probe_channel.h"

namespace glimmerly {

// Ctrl+Alt+Shift, without MOD_NOREPEAT: the plain value the probes register.
inline constexpr UINT kDiagnosticModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT;

// GetRegisteredRawInputDevices: the count, then at most that many entries.
Result<std::vector<RAWINPUTDEVICE>> list_raw_input_devices();

// The diagnostic's word to the shortcut probe that it may let go.
struct ProbeRelease {};

struct ShortcutProbeInput {
    UINT modifiers = kDiagnosticModifiers;
    UINT key = 0;
    // Success, or the failed registration.
    ChannelSender<Status> outcome;
    ChannelReceiver<ProbeRelease> release;
    std::chrono::milliseconds wait = kProbeChannelWait;
};

// Thread body: holds the combination (hotkey 199) until released, the
// release channel closes or `wait` passes, then gives it back.
void run_shortcut_probe(ShortcutProbeInput input);

// On the diagnostic's thread while the probe holds the rectangle shortcut:
// the strict activation must fail and leave the halo's raw mouse alone, and
// the best-effort one must hand the shortcut to the priority hook.
Status run_collision_probe(ChannelReceiver<Status>& outcome, PresentationFeatures features, PresentationState& record);

// Thread body: K4, K1, K2, K3 (hotkey 200) each registered and withdrawn.
Status run_release_probe(std::vector<UINT> keys, UINT modifiers);

Failure shortcut_probe_panicked();
Failure release_probe_panicked();

// A probe thread whose body's escaping exception is its abnormal end: the
// join then answers none. The body never outlives the run, because the run
// joins it before its next step.
template <class T>
class ProbeThread {
public:
    template <class Body>
    explicit ProbeThread(Body body) : outcome_(std::make_shared<std::optional<T>>()) {
        thread_ = std::thread([outcome = outcome_, body = std::move(body)]() mutable noexcept {
            try {
                *outcome = body();
            } catch (...) {
                outcome->reset();
            }
        });
    }
    ProbeThread(const ProbeThread&) = delete;
    ProbeThread& operator=(const ProbeThread&) = delete;
    ~ProbeThread() {
        if (thread_.joinable()) thread_.join();
    }

    std::optional<T> join() {
        if (thread_.joinable()) thread_.join();
        return std::move(*outcome_);
    }

private:
    std::shared_ptr<std::optional<T>> outcome_;
    std::thread thread_;
};

}  // namespace glimmerly
