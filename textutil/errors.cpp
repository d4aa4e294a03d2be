#include "errors.h"

#include <cfenv>

#include "sjis.h"

void ClearFpFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

void CheckFpFlags() {
    int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (!raised) return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_INVALID) throw ArithError(Sjis("不正な浮動小数点数演算命令"));
    if (raised & FE_DIVBYZERO) throw ArithError(Sjis("0 による浮動小数点数除算"));
    throw ArithError(Sjis("浮動小数点数のオーバーフロー"));
}

FpFlagsKept::FpFlagsKept() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }

FpFlagsKept::~FpFlagsKept() {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetexceptflag(&saved_, FE_ALL_EXCEPT);
}

void ThrowIntegerDivideByZero() { throw ArithError(Sjis("ゼロによる除算")); }
