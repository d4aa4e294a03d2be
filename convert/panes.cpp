#include "panes.h"

#include <algorithm>

#include "form1.h"
#include "textutil/numtext.h"
#include "textutil/text.h"

namespace tobrenth {

std::string KeyOf(const std::string& line) { return TextBefore(line, ":", true, true); }

std::string ValueOf(const std::string& line) { return TextAfter(line, ":", true, true); }

void ClearPane(ui::Lines& pane) {
    int last = std::min(kLastClearedLine, pane.Count() - 1);
    for (int i = 0; i <= last; ++i) pane.Set(i, "");
}

void CopyPane(const ui::Lines& source, ui::Lines& target) {
    ClearPane(target);
    target.Set(0, "name : ");
    for (int i = 1; i <= 4; ++i) target.Set(i, source.Get(i));
    long long n = StrToInt(ValueOf(source.Get(4)));
    // Lines past the target's end would be dropped anyway.
    long long last = std::min<long long>(n + kFirstCoefLine, target.Count() - 1);
    for (long long i = 5; i <= last; ++i) target.Set(int(i), source.Get(int(i)));
}

namespace {

bool IsDigitString(const std::string& text) { return IsIntegerText(text, true); }

// A header line: it holds ":" and its key contains the expected word.
void CheckHeaderLine(const std::string& line, const std::string& key, bool& failed) {
    if (!HasSubText(":", line)) failed = true;
    if (!HasSubText(key, KeyOf(line))) failed = true;
}

bool CoefLinesAreReal(const ui::Lines& pane, long long n) {
    for (long long k = 0; k < n; ++k) {
        long long i = kFirstCoefLine + k;
        if (i >= pane.Count()) return false;
        std::string text = TrimLeftBlanks(TrimRightBlanks(pane.Get(int(i))));
        if (!IsRealText(text, false)) return false;
    }
    return true;
}

}  // namespace

bool CheckFormat(const ui::Lines& pane) {
    bool failed = false;
    CheckHeaderLine(pane.Get(0), "name", failed);

    CheckHeaderLine(pane.Get(1), "order", failed);
    std::string order = ValueOf(pane.Get(1));
    if (!IsDigitString(order)) failed = true;
    else if (StrToInt(order) % 2 != 0) failed = true;

    CheckHeaderLine(pane.Get(2), "phase", failed);
    if (!HasSubText("zero", ValueOf(pane.Get(2)))) failed = true;

    CheckHeaderLine(pane.Get(3), "character", failed);

    CheckHeaderLine(pane.Get(4), "coefNum", failed);
    std::string count = ValueOf(pane.Get(4));
    if (!IsDigitString(count)) failed = true;
    if (failed) return false;

    long long n = StrToInt(count);
    CheckHeaderLine(pane.Get(5), "coefType", failed);
    CheckHeaderLine(pane.Get(6), "coefList", failed);
    if (!CoefLinesAreReal(pane, n)) failed = true;
    long long endLine = n + kFirstCoefLine;
    if (endLine >= pane.Count() || !HasSubText("end;", pane.Get(int(endLine)))) failed = true;
    return !failed;
}

long long MaxCountInPane(const ui::Lines& pane) { return (long long)pane.Count() - 1 - kFirstCoefLine; }

CountFit FitOfCount(const ui::Lines& pane, long long count) {
    if (count <= std::min<long long>(MaxCountInPane(pane), kPlotCoefCapacity)) return CountFit::kFits;
    const long long createdPaneMax = kPresetLines - kFirstCoefLine;  // "end;" on the pane's last line
    if (count <= std::min<long long>(createdPaneMax, kPlotCoefCapacity)) return CountFit::kPaneTooShort;
    return CountFit::kTooMany;
}

}  // namespace tobrenth
