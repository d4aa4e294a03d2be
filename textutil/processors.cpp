#include "processors.h"

#include <thread>

#ifdef __linux__
#include <sched.h>

#include <cerrno>
#endif

int UsableProcessors() {
#ifdef __linux__
    // The kernel refuses a set smaller than its own: grow it until the mask fits.
    for (int size = CPU_SETSIZE; size <= (1 << 20); size *= 2) {
        cpu_set_t* set = CPU_ALLOC(size);
        if (!set) break;
        const size_t bytes = CPU_ALLOC_SIZE(size);
        const int got = sched_getaffinity(0, bytes, set);
        const bool tooSmall = got != 0 && errno == EINVAL;
        const int count = got == 0 ? CPU_COUNT_S(bytes, set) : 0;
        CPU_FREE(set);
        if (count > 0) return count;
        if (!tooSmall) break;
    }
#endif
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? static_cast<int>(hardware) : 1;
}
