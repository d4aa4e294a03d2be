#include <climits>
#include <cmath>

#include "form1.h"
#include "panes.h"
#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"
#include "textutil/text.h"

namespace tobrenth {

namespace {

const char* const kUnusableSource = "このソースコードは使えません。";
const char* const kGainNotReal = "2nd pass gainが実数でありません。";
const char* const kNotSourceCharacter =
    "ＬＰＦ／ＨＰＦ／ＢＰＦ／ＢＥＦ以外の係数はソースファイルとして使えません。";
const char* const kNoCoefficients = "係数が1つもないので変換できません。";
const char* const kTooManyCoefficients = "係数が多すぎてこのプログラムでは扱えません。";
const char* const kConvertedPaneTooShort = "CONVERTED FILE欄の行数が足りないので変換できません。";
const char* const kSourcePaneTooShort = "SOURCE FILE欄の行数が足りないのでコピーできません。";
const char* const kOrderTooLarge = "orderが大きすぎてdoubleMirrorできません。";

constexpr int kOrderLine = 1;
constexpr int kCharacterLine = 3;
constexpr int kCountLine = 4;

}  // namespace

bool TForm1::SourceUsable() {
    if (CheckSourceFormat()) return true;
    ShowMessage(Sjis(kUnusableSource));
    return false;
}

bool TForm1::PartnerCharacter(int& partner) {
    int index = CharacterIndex(ValueOf(Memo1.lines.Get(kCharacterLine)));
    if (index < 0) {
        ShowMessage(Sjis(kNotSourceCharacter));
        return false;
    }
    partner = index ^ 1;
    return true;
}

// The result must have at least one coefficient, fit the converted pane and fit PlotCoefs.
bool TForm1::ResultFits(bool doubled) {
    long long n = StrToInt(ValueOf(Memo1.lines.Get(kCountLine)));
    if (n == 0) {
        ShowMessage(Sjis(kNoCoefficients));
        return false;
    }
    long long resultCount = doubled ? 2 * n - 1 : n;
    CountFit fit = FitOfCount(Memo2.lines, resultCount);
    if (fit == CountFit::kFits) return true;
    ShowMessage(Sjis(fit == CountFit::kTooMany ? kTooManyCoefficients : kConvertedPaneTooShort));
    return false;
}

bool TForm1::OrderDoubles() {
    long long order = StrToInt(ValueOf(Memo1.lines.Get(kOrderLine)));
    if (2 * order <= INT_MAX) return true;
    ShowMessage(Sjis(kOrderTooLarge));
    return false;
}

bool TForm1::ReadGain(long double& gain) {
    std::string t = TrimRightBlanks(TrimLeftBlanks(Edit1.text));
    if (!IsRealText(t, false)) {
        ShowMessage(Sjis(kGainNotReal));
        return false;
    }
    long double g = StrToReal(Edit1.text);
    gain = std::pow(10.0L, g / 20);
    CheckFpFlags();
    return true;
}

int TForm1::ConvertedCount() { return StrToInt(ValueOf(Memo2.lines.Get(kCountLine))); }

long double TForm1::ConvertedCoef(int k) { return StrToReal(Memo2.lines.Get(kFirstCoefLine + k)); }

void TForm1::SetConvertedCoef(int k, long double value) {
    CheckFpFlags();
    Memo2.lines.Set(kFirstCoefLine + k, CoefToText(value));
}

void TForm1::SetConvertedLine(int i, const std::string& text) { Memo2.lines.Set(i, text); }

void TForm1::ReloadAndDrawConverted(int count) {
    for (int j = 0; j < count; ++j) PlotCoefs[j] = ConvertedCoef(j);
    DrawConvertedResponse(count);
}

void TForm1::Button3Click() {
    int partner = 0;
    if (!SourceUsable() || !PartnerCharacter(partner) || !ResultFits(false)) return;
    CopySourceToConverted();
    SetConvertedLine(kCharacterLine, "character : " + CharacterNames[partner]);
    int n = ConvertedCount();
    SetConvertedCoef(0, 1 - ConvertedCoef(0));
    for (int k = 1; k < n; ++k) SetConvertedCoef(k, -ConvertedCoef(k));
    ReloadAndDrawConverted(n);
}

void TForm1::Button9Click() {
    int partner = 0;
    if (!SourceUsable() || !PartnerCharacter(partner) || !ResultFits(false)) return;
    CopySourceToConverted();
    SetConvertedLine(kCharacterLine, "character : " + CharacterNames[partner]);
    int n = ConvertedCount();
    for (int k = 1; k < n; ++k)
        if (k % 2 == 1) SetConvertedCoef(k, -ConvertedCoef(k));
    ReloadAndDrawConverted(n);
}

void TForm1::Button4Click() {
    if (!SourceUsable() || !ResultFits(false)) return;
    CopySourceToConverted();
    SetConvertedLine(kCharacterLine, "character : NOTCH");
    int n = ConvertedCount();
    SetConvertedCoef(0, (ConvertedCoef(0) - 0.5L) * 2);
    for (int k = 1; k < n; ++k) SetConvertedCoef(k, ConvertedCoef(k) * 2);
    ReloadAndDrawConverted(n);
}

// Scales every tap by factor, then moves the centre tap, read back from its text, by centreShift.
void TForm1::Shelve(const std::string& prefix, long double factor, long double centreShift) {
    CopySourceToConverted();
    SetConvertedLine(kCharacterLine, "character : " + prefix + ValueOf(Memo2.lines.Get(kCharacterLine)));
    int n = ConvertedCount();
    for (int k = 0; k < n; ++k) SetConvertedCoef(k, ConvertedCoef(k) * factor);
    SetConvertedCoef(0, ConvertedCoef(0) + centreShift);
    ReloadAndDrawConverted(n);
}

void TForm1::Button5Click() {
    long double gain = 0;
    if (!SourceUsable() || !ResultFits(false) || !ReadGain(gain)) return;
    Shelve("S", 1 - gain, gain);
}

void TForm1::Button6Click() {
    long double gain = 0;
    if (!SourceUsable() || !ResultFits(false) || !ReadGain(gain)) return;
    Shelve("NS", 1 + gain, -gain);
}

void TForm1::Button7Click() {
    if (!SourceUsable() || !ResultFits(true) || !OrderDoubles()) return;
    CopySourceToConverted();
    int order = StrToInt(ValueOf(Memo2.lines.Get(kOrderLine)));
    SetConvertedLine(kOrderLine, "order : " + IntText(2LL * order));
    switch (CharacterIndex(ValueOf(Memo2.lines.Get(kCharacterLine)))) {
        case 0: case 3: SetConvertedLine(kCharacterLine, "character : BEF"); break;
        case 1: case 2: SetConvertedLine(kCharacterLine, "character : BPF"); break;
        default: break;
    }
    int n = ConvertedCount();
    SetConvertedLine(kCountLine, "coefNum : " + IntText(2LL * n - 1));
    // Descending, so each line is read before a smaller k overwrites it.
    for (int k = n - 1; k >= 1; --k) {
        long double h = ConvertedCoef(k);
        SetConvertedLine(kFirstCoefLine - 1 + 2 * k, CoefToText(0));
        SetConvertedLine(kFirstCoefLine + 2 * k, CoefToText(h));
    }
    SetConvertedLine(kFirstCoefLine - 1 + 2 * n, "end;");
    ReloadAndDrawConverted(2 * n - 1);
}

void TForm1::Button8Click() {
    if (!CheckConvertedFormat()) {
        ShowMessage(Sjis(kUnusableSource));
        return;
    }
    if (CharacterIndex(ValueOf(Memo2.lines.Get(kCharacterLine))) < 0) {
        ShowMessage(Sjis(kNotSourceCharacter));
        return;
    }
    long long n = StrToInt(ValueOf(Memo2.lines.Get(kCountLine)));
    CountFit fit = FitOfCount(Memo1.lines, n);
    if (fit != CountFit::kFits) {
        ShowMessage(Sjis(fit == CountFit::kTooMany ? kTooManyCoefficients : kSourcePaneTooShort));
        return;
    }
    CopyConvertedToSource();
    for (int j = 0; j < n; ++j) PlotCoefs[j] = StrToReal(Memo2.lines.Get(kFirstCoefLine + j));
    DrawSourceResponse(int(n));
}

}  // namespace tobrenth
