#pragma once
// Constants and checks shared by the engine's sources.
#include "textutil/errors.h"
#include "textutil/sjis.h"

namespace corvalen {

constexpr long double kPi = 3.14159265358979323846264338327950288L;  // pi to 64 mantissa bits
constexpr int kMaxHalfOrder = 500;

// The window admits only these; anything else would overrun the fixed arrays.
inline void CheckHalfOrder(int M) {
    if (M < 4 || M > kMaxHalfOrder || M % 2 != 0) throw AppError(Sjis("次数が設計できる範囲にありません。"));
}

}  // namespace corvalen
