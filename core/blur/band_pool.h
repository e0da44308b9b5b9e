#pragma once
// The blur's worker threads, kept from one blur to the next. Each blur cuts
// its rows into bands; the calling thread takes the first band and each
// other band goes to a thread of the pool, which meets the others at a
// barrier between passes. The editor's view blurs again on every pointer
// move over a blur object, so its threads wait here rather than start anew.

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

namespace glimmerly {

inline constexpr std::uint32_t kMaxBlurWorkers = 8;

// Starts `work` on a thread of its own. An unjoinable thread means the system
// refused one; the blur then runs that work on the calling thread.
using ThreadStarter = std::function<std::jthread(std::function<void()> work)>;
std::jthread start_worker_thread(std::function<void()> work);

// Rows [first, end) of a blur.
struct RowBand {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
};

class BandPool {
public:
    // An empty `start` starts no thread: every band runs on the calling thread.
    explicit BandPool(ThreadStarter start) noexcept : start_(std::move(start)) {}
    // Stops the threads and joins them; none may be inside a run then.
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    // Runs passes(bands, pool) over bands[0] on the calling thread and over
    // each other band on a thread of the pool, starting the threads it lacks
    // first. A band whose thread the system refuses runs on the calling
    // thread too, since a band left undone would show the very pixels the
    // user hid. Returns when every band has ended. At most kMaxBlurWorkers
    // bands; one thread at a time may run.
    template <class Passes>
    void run(std::span<const RowBand> bands, const Passes& passes) noexcept {
        run_job(Job{[](const void* context, std::span<const RowBand> mine, BandPool& pool) noexcept {
                        (*static_cast<const Passes*>(context))(mine, pool);
                    },
                    &passes},
                bands);
    }

    // Holds a thread of the running job at the end of a pass until every
    // thread of the job has ended it.
    void arrive_and_wait() noexcept;

private:
    struct Job {
        void (*run)(const void* context, std::span<const RowBand> bands, BandPool& pool) noexcept = nullptr;
        const void* context = nullptr;
    };

    void run_job(Job job, std::span<const RowBand> bands) noexcept;
    bool ensure_thread(std::size_t slot) noexcept;
    void serve(std::size_t slot, std::uint64_t seen) noexcept;

    ThreadStarter start_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // The job of the current generation, and the band of each thread in it.
    Job job_;
    std::array<RowBand, kMaxBlurWorkers> bands_{};
    std::array<bool, kMaxBlurWorkers> has_band_{};
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    // The barrier: how many threads the job has, how many have arrived.
    std::size_t in_job_ = 1;
    std::size_t arrived_ = 0;
    std::uint64_t round_ = 0;
    // Slot 0 is the calling thread's and stays empty. Declared last, so that
    // nothing they use is gone before the destructor has joined them.
    std::array<std::jthread, kMaxBlurWorkers> threads_;
};

}  // namespace glimmerly
