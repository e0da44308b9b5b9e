#pragma once
// An unbounded channel from one sending end to one receiving end, for handing
// a worker's result to the thread that waits for it. Sending never blocks;
// once the receiving end is gone a send fails and the value stays with the
// sender, who drops it on its own thread.

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <variant>

namespace glimmerly {

template <class T>
class ChannelState {
public:
    std::mutex mutex;
    std::deque<T> queue;
    bool sender_alive = true;
    bool receiver_alive = true;
};

template <class T>
class ChannelSender {
public:
    explicit ChannelSender(std::shared_ptr<ChannelState<T>> state) : state_(std::move(state)) {}
    ChannelSender(ChannelSender&&) noexcept = default;
    ChannelSender& operator=(ChannelSender&&) noexcept = default;
    ~ChannelSender() {
        if (!state_) return;
        std::lock_guard lock(state_->mutex);
        state_->sender_alive = false;
    }

    // False, with `value` left as it was, when the receiver is gone.
    bool send(T& value) {
        std::lock_guard lock(state_->mutex);
        if (!state_->receiver_alive) return false;
        state_->queue.push_back(std::move(value));
        return true;
    }

private:
    std::shared_ptr<ChannelState<T>> state_;
};

// What a look into the channel found.
struct ChannelEmpty {};
struct ChannelDisconnected {};
template <class T>
using ChannelPoll = std::variant<ChannelEmpty, ChannelDisconnected, T>;

template <class T>
class ChannelReceiver {
public:
    explicit ChannelReceiver(std::shared_ptr<ChannelState<T>> state) : state_(std::move(state)) {}
    ChannelReceiver(ChannelReceiver&&) noexcept = default;
    ChannelReceiver& operator=(ChannelReceiver&&) noexcept = default;
    ~ChannelReceiver() {
        if (!state_) return;
        std::deque<T> left;  // dropped outside the lock
        std::lock_guard lock(state_->mutex);
        state_->receiver_alive = false;
        left.swap(state_->queue);
    }

    // Never waits: a value when one was sent, else whether more may come.
    ChannelPoll<T> try_receive() {
        std::lock_guard lock(state_->mutex);
        if (!state_->queue.empty()) {
            ChannelPoll<T> value(std::in_place_index<2>, std::move(state_->queue.front()));
            state_->queue.pop_front();
            return value;
        }
        if (!state_->sender_alive) return ChannelDisconnected{};
        return ChannelEmpty{};
    }

private:
    std::shared_ptr<ChannelState<T>> state_;
};

template <class T>
std::pair<ChannelSender<T>, ChannelReceiver<T>> make_channel() {
    auto state = std::make_shared<ChannelState<T>>();
    return {ChannelSender<T>(state), ChannelReceiver<T>(state)};
}

}  // namespace glimmerly
