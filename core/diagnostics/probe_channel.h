#pragma once
// The bounded hand-over between the presentation diagnostic and its probe
// threads: a one-message channel read with a deadline, so that a probe that
// never answers (or a diagnostic that never releases it) cannot hang the run.

#include <chrono>
#include <thread>
#include <variant>

#include "core/base/channel.h"
#include "core/base/result.h"

namespace glimmerly {

// Each side of a probe hand-over waits this long at most.
inline constexpr std::chrono::milliseconds kProbeChannelWait{5000};

inline constexpr char kChannelTimedOutText[] = "timed out waiting on channel";
inline constexpr char kChannelClosedText[] = "channel is empty and sending half is closed";

// The first message within `limit`; E_FAIL with one of the two texts above
// when the time runs out or the sender is gone with nothing sent. The wait
// looks every millisecond: the hand-overs are rare and short, and the
// channel has no blocking read of its own.
template <class T>
Result<T> receive_within(ChannelReceiver<T>& receiver, std::chrono::milliseconds limit = kProbeChannelWait) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto polled = receiver.try_receive();
        if (auto* value = std::get_if<2>(&polled)) return Result<T>(std::move(*value));
        if (std::holds_alternative<ChannelDisconnected>(polled)) return plain_failure(kChannelClosedText);
        if (std::chrono::steady_clock::now() >= deadline) return plain_failure(kChannelTimedOutText);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace glimmerly
