#pragma once
// The engine's loops spread over a small fixed pool of threads. Every loop body writes only its
// own entries, and every sum that crosses entries is folded afterwards on the caller's thread in
// the written order, so the results are the same bits for any thread count.
#include <type_traits>

namespace corvalen {

// Threads used by the engine's loops (the caller's included), at most 8; by default as many as the
// process may run on. 1 runs every loop in the written order on the caller's thread.
void SetEngineThreads(int count);
int EngineThreads();

namespace detail {
using RangeTask = void (*)(void* context, int begin, int end);
void RunRanges(int count, RangeTask task, void* context);
}  // namespace detail

// Calls body(begin, end) on disjoint ranges that cover 0 .. count-1 and returns when all are done.
// The body must not throw and must be safe to run twice (it writes only its own entries, from
// inputs the loop does not write): a loop that faults is replayed index by index on the caller's
// thread, which keeps its own flags and those of the first index that faults.
template <class Body>
void ParallelFor(int count, Body&& body) {
    using Callable = std::remove_reference_t<Body>;
    auto task = [](void* context, int begin, int end) { (*static_cast<Callable*>(context))(begin, end); };
    detail::RunRanges(count, task, const_cast<void*>(static_cast<const void*>(&body)));
}

}  // namespace corvalen
