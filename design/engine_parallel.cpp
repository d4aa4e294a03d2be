#include "design/engine_parallel.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "textutil/processors.h"

namespace corvalen {
namespace {

constexpr int kMaxThreads = 8;

constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

int DefaultThreads() { return std::clamp(UsableProcessors(), 1, kMaxThreads); }

// Workers sleep between loops; the caller hands out ranges through one atomic counter and works
// on them too, then waits until every worker has reported back for this loop.
class Pool {
public:
    ~Pool() { Resize(0); }

    void Run(int count, detail::RangeTask task, void* context, int threads) {
        std::lock_guard<std::mutex> call(callMutex_);
        if (static_cast<int>(workers_.size()) != threads - 1) Resize(threads - 1);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            task_ = task;
            context_ = context;
            count_ = count;
            chunk_ = std::max(1, count / (threads * 64));
            next_.store(0);
            flags_.store(0);
            pending_ = static_cast<int>(workers_.size());
            ++generation_;
        }
        wake_.notify_all();
        Drain();
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return pending_ == 0; });
        if (int raised = flags_.load()) std::feraiseexcept(raised);
    }

private:
    void Resize(int workers) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) worker.join();
        workers_.clear();
        stop_ = false;
        // A new worker starts from the current loop number, so it waits for the next loop.
        for (int i = 0; i < workers; ++i) workers_.emplace_back([this, seen = generation_] { Work(seen); });
    }

    void Work(unsigned long long seen) {
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
                if (stop_) return;
                seen = generation_;
            }
            std::feclearexcept(FE_ALL_EXCEPT);
            Drain();
            flags_.fetch_or(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW | FE_UNDERFLOW));
            std::lock_guard<std::mutex> lock(mutex_);
            if (--pending_ == 0) done_.notify_one();
        }
    }

    void Drain() {
        for (;;) {
            int begin = next_.fetch_add(chunk_);
            if (begin >= count_) return;
            task_(context_, begin, std::min(count_, begin + chunk_));
        }
    }

    std::mutex callMutex_;  // one loop at a time
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> workers_;
    unsigned long long generation_ = 0;
    bool stop_ = false;
    int pending_ = 0;
    detail::RangeTask task_ = nullptr;
    void* context_ = nullptr;
    int count_ = 0;
    int chunk_ = 1;
    std::atomic<int> next_{0};
    std::atomic<int> flags_{0};
};

std::atomic<int> engineThreads{DefaultThreads()};

Pool& ThePool() {
    static Pool pool;
    return pool;
}

// Runs the loop again on this thread one index at a time in index order and returns the flags of
// the first index that faults, 0 when none does.
int FirstFaultFlags(int count, detail::RangeTask task, void* context) {
    for (int i = 0; i < count; ++i) {
        std::feclearexcept(FE_ALL_EXCEPT);
        task(context, i, i + 1);
        const int raised = std::fetestexcept(FE_ALL_EXCEPT);
        if (raised & kFaults) return raised;
    }
    return 0;
}

}  // namespace

void SetEngineThreads(int count) { engineThreads.store(std::clamp(count, 1, kMaxThreads)); }

int EngineThreads() { return engineThreads.load(); }

namespace detail {

void RunRanges(int count, RangeTask task, void* context) {
    if (count <= 0) return;
    const int saved = std::fetestexcept(FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);
    const int threads = EngineThreads();
    if (threads == 1 || count == 1) {
        task(context, 0, count);
    } else {
        ThePool().Run(count, task, context, threads);
    }
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    if (raised & kFaults) {
        // The message names the fault the written order meets first, not the gravest of the loop.
        // A replay that faults nowhere (a fault only a worker meets) keeps what the loop raised.
        const int first = FirstFaultFlags(count, task, context);
        std::feclearexcept(FE_ALL_EXCEPT);
        std::feraiseexcept(first ? first : raised);
    }
    if (saved) std::feraiseexcept(saved);
}

}  // namespace detail
}  // namespace corvalen
