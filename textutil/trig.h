#pragma once
// The processor's 80-bit cosine and sine (x87 FCOS / FSIN), which the filter arithmetic is
// defined by. The instructions take |x| < 2^63; beyond that, and off x86, the C library answers.
#include <cmath>

inline long double Cos80(long double x) {
#if defined(__x86_64__) || defined(__i386__)
    if (std::fabs(x) < 0x1p63L) {
        long double r;
        asm("fcos" : "=t"(r) : "0"(x));
        return r;
    }
#endif
    return cosl(x);
}

inline long double Sin80(long double x) {
#if defined(__x86_64__) || defined(__i386__)
    if (std::fabs(x) < 0x1p63L) {
        long double r;
        asm("fsin" : "=t"(r) : "0"(x));
        return r;
    }
#endif
    return sinl(x);
}
