#include "design/checks.h"

#include <cstdint>
#include <optional>

#include "design/rangetable.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"
#include "textutil/text.h"

namespace corvalen {

namespace {

constexpr char kNoValue[] = "-";

bool Fits32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Floor and ceiling as 32-bit integers, or nothing when the integer would not hold the value.
std::optional<int32_t> Floor32(long double x) {
    if (!(x >= -2147483648.0L && x < 2147483648.0L)) return std::nullopt;
    return FloorToInt32(x);
}

std::optional<int32_t> Ceil32(long double x) {
    if (!(x > -2147483649.0L && x <= 2147483647.0L)) return std::nullopt;
    return CeilToInt32(x);
}

void ReadOrder(Request& r, const std::string& text) {
    if (IsIntegerText(text, false))
        r.order = StrToInt(text);
    else
        r.orderTextBad = true;
    r.orderOutOfRange = r.order < 8 || r.order > 1000;
    r.orderNotMultipleOf4 = r.order % 4 != 0;
    r.num = r.order / 2;
}

// A positive real from its text; bad stays true for a refused text or a value not above 0.
long double ReadPositive(const std::string& text, bool& bad) {
    if (!IsRealText(text, false)) {
        bad = true;
        return 0;
    }
    long double value = StrToReal(text);
    bad = !(value > 0);
    return value;
}

std::string RatioText(long double fp) {
    std::optional<int32_t> q = Floor32(fp * 100000.0L);
    return q ? GeneralText(*q / 100000.0L) : kNoValue;
}

std::string OrderLimitText(long double passEdge) {
    std::optional<int32_t> m = Floor32(HalfOrderLimit(passEdge));
    if (!m) return kNoValue;
    int64_t order = 2 * int64_t{2 * (*m / 2)};
    return Fits32(order) ? IntText(order) : kNoValue;
}

}  // namespace

Request ReadRequest(bool highPass, const std::string& orderText, const std::string& fpassText,
                    const std::string& fsampleText) {
    Request r;
    r.highPass = highPass;
    ReadOrder(r, orderText);
    r.fpass = ReadPositive(fpassText, r.fpassBad);
    r.fsample = ReadPositive(fsampleText, r.fsampleBad);
    return r;
}

RequestLimits CheckRange(Request& r) {
    RequestLimits limits;
    r.fp = r.fpass / r.fsample;
    limits.ratio = RatioText(r.fp);
    if (r.highPass) r.fp = 0.5L - r.fp;

    std::optional<int32_t> m = Ceil32(PassEdgeLimit(r.num) * 50000.0L);
    if (m) {
        r.minPassEdge = *m / 50000.0L;
        limits.passLimit = GeneralText(r.highPass ? 0.5L - r.minPassEdge / 2 : r.minPassEdge / 2);
    } else {
        limits.passLimit = kNoValue;
    }
    limits.orderLimit = OrderLimitText(2 * r.fp);

    r.passEdge = 2 * r.fp;
    r.fpAboveQuarter = r.fp > 0.25L;
    r.fpAtQuarter = r.fp == 0.25L;
    // Without a limit the request is outside every range the table knows.
    r.outsideDesignRange = !m || r.minPassEdge > r.passEdge;
    return limits;
}

std::string OrderLimitLine(const RequestLimits& limits) { return "order < " + limits.orderLimit; }

std::string PassLimitLine(const Request& r, const RequestLimits& limits) {
    return (r.highPass ? "0.25 < fpass < " : "0.25 > fpass > ") + limits.passLimit + "(fs)";
}

std::string RequestMessage(const Request& r, const RequestLimits& limits) {
    if (r.orderTextBad || r.orderOutOfRange)
        return Sjis("ｏｒｄｅｒの値は８～１０００の範囲の整数（４の倍数）として下さい。");
    if (r.orderNotMultipleOf4) return Sjis("ｏｒｄｅｒの値は４の倍数として下さい。");
    if (r.fpassBad) return Sjis("ｆｐａｓｓの値は正の実数（０を除く）として下さい。");
    if (r.fsampleBad) return Sjis("ｆｓａｍｐｌｅの値は正の実数（０を除く）として下さい。");
    if (r.fpAboveQuarter)
        return r.highPass ? Sjis("ｆｐａｓｓ（ｆｓ）が０．２５以上となるようにｆｐａｓｓまたはｆｓａｍｐｌｅの値を加減して下さい。")
                          : Sjis("ｆｐａｓｓ（ｆｓ）が０．２５以下となるようにｆｐａｓｓまたはｆｓａｍｐｌｅの値を加減して下さい。");
    if (r.fpAtQuarter)
        return r.highPass ? Sjis("ｆｐａｓｓ（ｆｓ）が０．２５より大きくなるようにｆｐａｓｓまたはｆｓａｍｐｌｅの値を加減して下さい。")
                          : Sjis("ｆｐａｓｓ（ｆｓ）が０．２５未満となるようにｆｐａｓｓまたはｆｓａｍｐｌｅの値を加減して下さい。");
    if (r.outsideDesignRange)
        return Sjis("設計収束範囲オーバー　：　ｏｒｄｅｒを") + limits.orderLimit + Sjis("以下にするか、") +
               Sjis("ｆｐａｓｓ（ｆｓ）を") + limits.passLimit +
               Sjis(r.highPass ? "以上下にして下さい" : "以上にして下さい");
    return "";
}

}  // namespace corvalen
