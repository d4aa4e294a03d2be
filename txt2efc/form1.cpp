#include "txt2efc/form1.h"

#include <array>
#include <cstdint>

#include "ripple/isnumbertext.h"
#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"
#include "textutil/text.h"
#include "textutil/textfile.h"

namespace quisdale {

namespace {

constexpr int kHalfCoefCapacity = 5001;
constexpr int32_t kMaxTapCount = 2 * kHalfCoefCapacity - 1;
constexpr int kCountLineLimit = 100;  // the count must stand on one of the lines before this one

// Slot 0 is the centre tap h0, slot k the tap k places from the centre.
using HalfCoef = std::array<long double, kHalfCoefCapacity>;

struct Responses {
    long double fZero = 0;  // amplitude at f = 0
    long double fHalf = 0;  // amplitude at f = fs/2
};

std::string TrimBlanks(const std::string& text) { return TrimRightBlanks(TrimLeftBlanks(text)); }

// Reads until a line of digits only; the hundredth line read ends the search as bad content
// with the count "1", even when that line holds digits.
std::string FindCountLine(TextReader& input, bool& badContent) {
    for (int linesRead = 1;; ++linesRead) {
        std::string line = TrimBlanks(input.ReadLine());
        bool found = !line.empty() && IsDigitsOnlyText(line);
        if (linesRead == kCountLineLimit) {
            badContent = true;
            return "1";
        }
        if (found) return line;
    }
}

// Outermost tap first: the lines fill the slots from n - 1 down to 0. Every line is read,
// also after a bad one.
void ReadHalfCoef(TextReader& input, int n, HalfCoef& halfCoef, bool& badContent) {
    for (int k = n - 1; k >= 0; --k) {
        std::string line = TrimBlanks(input.ReadLine());
        if (IsNumberText(line))
            halfCoef[size_t(k)] = StrToReal(line);
        else
            badContent = true;
    }
}

// Both sums in the written order, the flags checked after each term: an overflow is reported
// as such, not as the invalid operation that the infinity it made causes later.
Responses ComputeResponses(const HalfCoef& halfCoef, int n) {
    Responses r;
    r.fZero = halfCoef[0];
    for (int k = 1; k < n; ++k) {
        r.fZero += 2 * halfCoef[size_t(k)];
        CheckFpFlags();
    }
    r.fHalf = halfCoef[0];
    for (int k = 1; k < n; ++k) {
        if (k % 2 == 0)
            r.fHalf += 2 * halfCoef[size_t(k)];
        else
            r.fHalf -= 2 * halfCoef[size_t(k)];
        CheckFpFlags();
    }
    return r;
}

std::string CharacterText(const Responses& r) {
    bool passZero = r.fZero > 0.5L;
    bool passHalf = r.fHalf > 0.5L;
    if (passZero && passHalf) return "BEF";
    if (passZero) return "LPF";
    if (passHalf) return "HPF";
    return "BPF";
}

// The input path up to its first "." (also one in a folder name), then ".efc".
std::string OutputName(const std::string& inputPath) { return TextBefore(inputPath, ".", true, true) + ".efc"; }

void WriteCoefFile(const std::string& path, int32_t tapCount, const HalfCoef& halfCoef, int n,
                   const Responses& r) {
    TextWriter out(path);
    out.WriteLine("name : ");
    out.WriteLine("order : " + IntText(tapCount - 1));
    out.WriteLine("phase : zero");
    out.WriteLine("character : " + CharacterText(r));
    out.WriteLine("coefNum : " + IntText(n));
    out.WriteLine("coefType : real");
    out.WriteLine("coefList :");
    for (int k = 0; k < n; ++k) out.WriteLine(CoefToText(halfCoef[size_t(k)]));
    out.WriteLine("end;");
    out.WriteLine("");
    out.WriteLine("");
    out.WriteLine("responseFZero = " + Sci23Text(r.fZero));
    out.WriteLine("responseFHalf = " + Sci23Text(r.fHalf));
    out.Close();
}

}  // namespace

bool IsDigitsOnlyText(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

TForm1::TForm1(ui::Desktop& desktop) : ui::Form(desktop, "pQuisdale") {
    caption = Sjis("Quisdale  コンバータ　（偶数次零位相ＦＩＲフィルタ専用）");
    left = 192;
    top = 107;
    width = 403;
    height = 116;
    color = ui::clBtnFace;

    Place(Button1, "Button1", 152, 32, 75, 25, 0);
    Button1.caption = "convert";
    Button1.onClick = [this] { Button1Click(); };

    Place(StatusBar1, "StatusBar1", 0, 70, 395, 19);
    ResetStatusBar();

    Place(OpenDialog1, "OpenDialog1");
    OpenDialog1.defaultExt = "txt";
}

void TForm1::FormCreate() { OpenDialog1.initialDir = ui::CurrentDir(); }

void TForm1::ResetStatusBar() {
    StatusBar1.color = ui::clBtnFace;
    StatusBar1.simpleText = "";
}

void TForm1::ShowEvenCountRefusal() {
    StatusBar1.color = ui::clRed;
    StatusBar1.simpleText = Sjis("奇数次（偶数タップ）フィルタは取り扱えません。");
}

void TForm1::Button1Click() {
    ResetStatusBar();
    if (!OpenDialog1.Execute() || OpenDialog1.fileName.empty()) return;
    const std::string inputPath = OpenDialog1.fileName;
    TextReader input(inputPath);  // an abandoned click closes it on the way out

    bool badContent = false;
    int32_t tapCount = StrToInt(FindCountLine(input, badContent));
    if (tapCount % 2 == 0) {
        ShowEvenCountRefusal();
        input.Close();
        return;
    }
    // Checked before n is formed, so the largest count cannot overflow (N + 1) / 2.
    if (tapCount > kMaxTapCount) {
        ShowMessage(Sjis("10001 タップを超えるフィルタは取り扱えません。"));
        input.Close();
        return;
    }
    int n = (tapCount + 1) / 2;

    HalfCoef halfCoef{};
    ReadHalfCoef(input, n, halfCoef, badContent);
    if (badContent) {
        ShowMessage(Sjis("ファイルの内容が適切ではありません。"));
        input.Close();
        return;
    }

    Responses r = ComputeResponses(halfCoef, n);
    WriteCoefFile(OutputName(inputPath), tapCount, halfCoef, n, r);
    input.Close();
}

}  // namespace quisdale
