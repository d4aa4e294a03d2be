#include "design/form1.h"

#include <vector>

#include "design/coeffile.h"
#include "design/designmonitor.h"
#include "design/engine.h"
#include "design/plots.h"
#include "design/rangetable.h"
#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"

namespace corvalen {

namespace {

constexpr ui::Color kOutputGreen = 0xC0DCC0;
constexpr int kNotesLines = 24;

std::vector<std::string> NotesLines() {
    const char* notes[] = {
        "　　【注意事項】",
        "　ｏｒｄｅｒの設定範囲 ： ８～１０００",
        "　ｏｒｄｅｒの値は４の倍数として下さ",
        "い。",
        "　ｏｒｄｅｒとｆｐａｓｓ（ｆｓ単位）の関係",
        "によっては、設計ができない場合",
        "があります（ダイアローグの表示",
        "に従って下さい）。",
    };
    std::vector<std::string> lines;
    for (const char* line : notes) lines.push_back(Sjis(line));
    lines.resize(kNotesLines);
    return lines;
}

void PlaceLabel(ui::Form& form, ui::Label& label, const char* name, int left, int top, int width,
                const char* caption) {
    form.Place(label, name, left, top, width, 12);
    label.caption = caption;
    label.bold = true;
}

void PlaceOutput(ui::Form& form, ui::Edit& edit, const char* name, int top, int tab) {
    form.Place(edit, name, 776, top, 65, 20, tab);
    edit.text = "-";
    edit.enabled = false;
    edit.color = kOutputGreen;
}

}  // namespace

TForm1::TForm1(ui::Desktop& desktop) : ui::Form(desktop, "pCorvalen") {
    caption = Sjis("Corvalen  ナイキストフィルタ係数設計ツール　（偶数次零位相ＦＩＲフィルタ専用）");
    left = 115;
    top = 78;
    width = 886;
    height = 631;

    Place(RadioGroup1, "RadioGroup1", 768, 32, 73, 57, 9);
    RadioGroup1.caption = " character ";
    RadioGroup1.items = {"LPF", "HPF"};
    RadioGroup1.itemIndex = 0;
    RadioGroup1.onClick = [this] { RadioGroup1Click(); };

    PlaceLabel(*this, Label1, "Label1", 736, 112, 34, "order:");
    Place(Edit1, "Edit1", 776, 104, 65, 20, 1);
    Edit1.text = "60";
    PlaceLabel(*this, Label2, "Label2", 736, 144, 36, "fpass:");
    Place(Edit2, "Edit2", 776, 136, 65, 20, 2);
    Edit2.text = "0.225";
    PlaceLabel(*this, Label3, "Label3", 720, 176, 50, "fsample:");
    Place(Edit3, "Edit3", 776, 168, 65, 20, 3);
    Edit3.text = "1";
    PlaceLabel(*this, Label4, "Label4", 712, 208, 58, "fpass(fs):");
    PlaceOutput(*this, Edit4, "Edit4", 200, 4);
    PlaceLabel(*this, Label5, "Label5", 712, 240, 56, "stopGain:");
    PlaceOutput(*this, Edit5, "Edit5", 232, 5);

    Place(CheckBox1, "CheckBox1", 712, 272, 137, 17, 10);
    CheckBox1.caption = "deleteSideEndCoef";
    CheckBox1.checked = true;
    CheckBox1.bold = true;

    Place(Button1, "Button1", 768, 304, 75, 25, 0);
    Button1.caption = "design coef.";
    Button1.onClick = [this] { Button1Click(); };

    Place(Memo1, "Memo1", 688, 352, 177, 153, 7);
    Memo1.lines.SetAll(NotesLines());
    Memo1.enabled = false;

    Place(Button2, "Button2", 768, 520, 75, 25, 6);
    Button2.caption = "picture clear";
    Button2.onClick = [this] { Button2Click(); };

    Place(ScrollBox1, "ScrollBox1", 0, 0, 681, 603, 8);
    Place(Image1, "Image1", 0, 0, 657, 900, -1, &ScrollBox1);
}

void TForm1::FormCreate() {
    ClearPicture(Image1.canvas);
    FillRangeTable();
}

void TForm1::Button1Click() {
    Request r = ReadRequest(RadioGroup1.itemIndex != 0, Edit1.text, Edit2.text, Edit3.text);
    RequestLimits limits;
    if (!r.fsampleBad) {
        limits = CheckRange(r);
        ShowLimits(r, limits);
    }
    const std::string message = RequestMessage(r, limits);
    if (!message.empty()) {
        ShowMessage(message);
        return;
    }
    Design(r);
}

void TForm1::ShowLimits(const Request& r, const RequestLimits& limits) {
    Edit4.text = limits.ratio;
    Memo1.lines.Set(9, OrderLimitLine(limits));
    Memo1.lines.Set(10, PassLimitLine(r, limits));
}

void TForm1::Design(const Request& r) {
    DesignMonitor monitor(Image1.canvas, r.highPass, r.passEdge);
    const ExchangeResult x = RunExchange(r.num, r.passEdge, monitor, maxCycles);
    Memo1.lines.Set(11, "(rep = " + IntText(x.cycles) + ")");
    monitor.DrawFinalCurve();

    long double coef[kMaxCoefs];
    ImpulseResponse(r.num, r.highPass, coef);
    monitor.trace.Finish(coef, r.num, x.ripple);
    TidyCoefficients(coef, r.num);

    DesignData d;
    d.highPass = r.highPass;
    d.M = r.num;
    d.passNum = x.passNum;
    d.fpass = r.fpass;
    d.fsample = r.fsample;
    d.fp = r.fp;
    d.ripple = x.ripple;
    const int count = WriteCoefficientFile(d, coef, Edit5, CheckBox1);
    DrawCharacteristicPlot(Image1.canvas, coef, count);
}

void TForm1::Button2Click() { ClearPicture(Image1.canvas); }

void TForm1::RadioGroup1Click() {
    const long double fsample = StrToReal(Edit3.text);
    const long double fpass = StrToReal(Edit2.text);
    const long double mirrored = fsample * 0.5L - fpass;
    CheckFpFlags();
    Edit2.text = GeneralText(mirrored);
}

}  // namespace corvalen
