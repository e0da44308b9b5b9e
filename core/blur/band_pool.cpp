#include "core/blur/band_pool.h"

#include <system_error>
#include <utility>

namespace glimmerly {

std::jthread start_worker_thread(std::function<void()> work) {
    try {
        return std::jthread(std::move(work));
    } catch (const std::system_error&) {
        return {};  // no thread to be had; the caller does the work itself
    }
}

BandPool::~BandPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::jthread& thread : threads_)
        if (thread.joinable()) thread.join();
}

bool BandPool::ensure_thread(std::size_t slot) noexcept {
    if (threads_[slot].joinable()) return true;
    if (!start_) return false;
    // Only the calling thread changes the generation, so it reads it here
    // without the lock; the new thread waits for the one after it.
    const std::uint64_t seen = generation_;
    try {
        threads_[slot] = start_([this, slot, seen]() noexcept { serve(slot, seen); });
    } catch (...) {
        threads_[slot] = {};  // as refused: the band stays on the calling thread
    }
    return threads_[slot].joinable();
}

void BandPool::run_job(Job job, std::span<const RowBand> bands) noexcept {
    std::array<RowBand, kMaxBlurWorkers> own;
    std::size_t own_count = 0;
    std::array<bool, kMaxBlurWorkers> given{};
    std::size_t in_job = 1;
    for (std::size_t i = 0; i < bands.size() && i < kMaxBlurWorkers; ++i) {
        if (i > 0 && ensure_thread(i)) {
            given[i] = true;
            ++in_job;
        } else {
            own[own_count++] = bands[i];
        }
    }
    {
        const std::lock_guard lock(mutex_);
        job_ = job;
        for (std::size_t i = 0; i < kMaxBlurWorkers; ++i) {
            has_band_[i] = given[i];
            if (given[i]) bands_[i] = bands[i];
        }
        in_job_ = in_job;
        ++generation_;
    }
    changed_.notify_all();
    job.run(job.context, std::span(own.data(), own_count), *this);
    // The last meeting: once past it, no thread of the pool touches the
    // job's data any more, so the caller may let it go.
    arrive_and_wait();
}

void BandPool::arrive_and_wait() noexcept {
    std::unique_lock lock(mutex_);
    const std::uint64_t round = round_;
    if (++arrived_ == in_job_) {
        arrived_ = 0;
        ++round_;
        lock.unlock();
        changed_.notify_all();
        return;
    }
    changed_.wait(lock, [&] { return round_ != round; });
}

void BandPool::serve(std::size_t slot, std::uint64_t seen) noexcept {
    for (;;) {
        Job job;
        RowBand band;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
            // A job with fewer bands than the pool has threads leaves some idle.
            if (!has_band_[slot]) continue;
            job = job_;
            band = bands_[slot];
        }
        job.run(job.context, std::span(&band, 1), *this);
        arrive_and_wait();
    }
}

}  // namespace glimmerly
