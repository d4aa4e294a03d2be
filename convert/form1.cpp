#include "form1.h"

#include <algorithm>

#include "panes.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"
#include "textutil/text.h"
#include "textutil/textfile.h"
#include "ui/font.h"

namespace tobrenth {

namespace {

const char* const kCaption = "Tobrenth  フィルタ係数変換ツール　(偶数次零位相ＦＩＲフィルタ専用）";
const char* const kHint = "　### ＬＰＦ／ＨＰＦ／ＢＰＦ／ＢＥＦ　ｏｎｌｙ ###";
const char* const kFormatMessage = "このファイルのフォーマットはこのプログラムに適合していません。";
const char* const kTooManyToLoad = "係数が多すぎてこのプログラムでは読み込めません。";
const char* const kSourcePaneTooShort = "SOURCE FILE欄の行数が足りないので読み込めません。";
const char* const kBadSaveCount = "変換後ファイルのcoefNumが正しくないので保存できません。";
constexpr int kLastLoadedLine = 1005;  // load empties the pane up to here after "end;"

void PlaceLabel(ui::Form& f, ui::Label& l, const std::string& name, int left, int top, const std::string& caption,
                bool bold, ui::Control* parent = nullptr) {
    l.caption = caption;
    l.bold = bold;
    // Labels size themselves to their caption.
    f.Place(l, name, left, top, ui::TextWidth(caption, bold), 12, -1, parent);
}

void PlaceButton(ui::Form& f, ui::Button& b, const std::string& name, int left, int top, int width,
                 const std::string& caption, int tab, ui::Control* parent = nullptr) {
    b.caption = caption;
    f.Place(b, name, left, top, width, 25, tab, parent);
}

// The largest digit string not above limit; false for a longer or larger one.
bool CountAtMost(const std::string& digits, long long limit, int& n) {
    std::string d = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    if (d.size() > 9) return false;
    long long value = d.empty() ? 0 : std::stoll(d);
    if (value > limit) return false;
    n = int(value);
    return true;
}

}  // namespace

TForm1::TForm1(ui::Desktop& desktop) : ui::Form(desktop, "pTobrenth") {
    caption = Sjis(kCaption);
    left = 209;
    top = 70;
    width = 786;
    height = 657;
    PlaceControls();
    PresetPanes();
}

void TForm1::PlaceControls() {
    PlaceButton(*this, Button1, "Button1", 8, 8, 75, "load", 2);
    PlaceButton(*this, Button2, "Button2", 456, 8, 75, "save ", 3);
    PlaceLabel(*this, Label1, "Label1", 120, 24, "SOURCE FILE", true);
    PlaceLabel(*this, Label2, "Label2", 552, 24, "CONVERTED FILE", true);
    Place(Memo1, "Memo1", 8, 40, 297, 329, 0);
    Place(Memo2, "Memo2", 472, 40, 297, 329, 1);
    PlaceButton(*this, Button3, "Button3", 344, 40, 89, "invert char ->", 4);
    PlaceButton(*this, Button9, "Button9", 344, 80, 89, "freq reverse ->", 9);
    PlaceButton(*this, Button4, "Button4", 344, 120, 89, "conv notch ->", 5);
    Place(GroupBox1, "GroupBox1", 312, 152, 153, 145, 8);
    PlaceButton(*this, Button5, "Button5", 24, 16, 105, "conv shelving ->", 0, &GroupBox1);
    PlaceButton(*this, Button6, "Button6", 8, 56, 137, "conv notchedShelving ->", 1, &GroupBox1);
    PlaceLabel(*this, Label3, "Label3", 44, 93, "2nd pass gain :", false, &GroupBox1);
    Edit1.text = "-6";
    Place(Edit1, "Edit1", 48, 109, 57, 20, 2, &GroupBox1);
    PlaceLabel(*this, Label4, "Label4", 107, 117, "dB", false, &GroupBox1);
    PlaceButton(*this, Button7, "Button7", 328, 312, 121, "conv doubleMirror ->", 6);
    PlaceButton(*this, Button8, "Button8", 352, 352, 75, "<- copy back", 7);
    PlaceLabel(*this, Label5, "Label5", 104, 384, "SOURCE CHARACTOR", true);
    PlaceLabel(*this, Label6, "Label6", 504, 384, "CONVERTED CHARACTOR", true);
    Place(Image1, "Image1", 8, 400, 329, 225);
    Place(Image2, "Image2", 440, 400, 329, 225);

    Place(OpenDialog1, "OpenDialog1");
    OpenDialog1.fileName = "k-su.efc";
    Place(SaveDialog1, "SaveDialog1");
    SaveDialog1.defaultExt = "efc";

    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { Button2Click(); };
    Button3.onClick = [this] { Button3Click(); };
    Button4.onClick = [this] { Button4Click(); };
    Button5.onClick = [this] { Button5Click(); };
    Button6.onClick = [this] { Button6Click(); };
    Button7.onClick = [this] { Button7Click(); };
    Button8.onClick = [this] { Button8Click(); };
    Button9.onClick = [this] { Button9Click(); };
}

void TForm1::PresetPanes() {
    for (ui::Memo* m : {&Memo1, &Memo2}) {
        m->verticalScrollBar = true;
        m->lines.SetAll(std::vector<std::string>(kPresetLines + 1));
    }
    Memo1.lines.Set(1, Sjis(kHint));
}

void TForm1::FormCreate() {
    OpenDialog1.initialDir = ui::CurrentDir();
    CharacterNames[0] = "LPF";
    CharacterNames[1] = "HPF";
    CharacterNames[2] = "BPF";
    CharacterNames[3] = "BEF";
    PlotRect = kPlotRect;
    for (ui::Image* image : {&Image1, &Image2})
        image->canvas.FillRect(PlotRect.left, PlotRect.top, PlotRect.right, PlotRect.bottom);
}

void TForm1::Button1Click() {
    std::string name;
    if (OpenDialog1.Execute()) name = OpenDialog1.fileName;
    if (!name.empty()) LoadSourceFile(name);
    if (!CheckSourceFormat()) ShowMessage(Sjis(kFormatMessage));
}

void TForm1::LoadSourceFile(const std::string& path) {
    ui::Lines& pane = Memo1.lines;
    ClearSourcePane();
    TextReader file(path);
    std::string line;
    for (int i = 0; i < 4; ++i) {
        line = file.ReadLine();
        pane.Set(i, line);
    }
    if (CharacterIndex(ValueOf(line)) < 0) {
        pane.Set(0, "### file character error ###");
        pane.Set(1, "This program can handling");
        pane.Set(2, " LPF/HPF/BPF/BEF file only.");
        for (int i = 3; i <= kLastClearedLine; ++i) pane.Set(i, "");
        file.Close();
        return;
    }
    line = file.ReadLine();
    pane.Set(4, line);
    std::string countValue = ValueOf(line);
    if (IsIntegerText(countValue, true)) {
        int n = StrToInt(countValue);
        CountFit fit = FitOfCount(pane, n);
        if (fit != CountFit::kFits) {
            file.Close();
            ShowMessage(Sjis(fit == CountFit::kTooMany ? kTooManyToLoad : kSourcePaneTooShort));
            return;
        }
        for (int i = 5; i <= n + 8; ++i) pane.Set(i, file.ReadLine());
        for (int i = n + 8; i <= kLastLoadedLine; ++i) pane.Set(i, "");
        n = std::min(StrToInt(ValueOf(pane.Get(4))), kPlotCoefCapacity);
        for (int k = 0; k < n; ++k) PlotCoefs[k] = StrToReal(pane.Get(kFirstCoefLine + k));
        DrawSourceResponse(n);
    }
    file.Close();
}

void TForm1::Button2Click() {
    SaveDialog1.initialDir = ui::CurrentDir();
    if (!SaveDialog1.Execute()) return;
    int n = 0;
    std::string countValue = ValueOf(Memo2.lines.Get(4));
    if (!IsIntegerText(countValue, true) || !CountAtMost(countValue, MaxCountInPane(Memo2.lines), n)) {
        ShowMessage(Sjis(kBadSaveCount));
        return;
    }
    SaveConvertedFile(SaveDialog1.fileName, n);
}

void TForm1::SaveConvertedFile(const std::string& path, int count) {
    TextWriter file(path);
    for (int i = 0; i <= count + kFirstCoefLine; ++i) file.WriteLine(Memo2.lines.Get(i));
    file.WriteLine("");
    file.WriteLine("");
    file.Close();
}

void TForm1::ClearSourcePane() { ClearPane(Memo1.lines); }
void TForm1::ClearConvertedPane() { ClearPane(Memo2.lines); }
void TForm1::CopySourceToConverted() { CopyPane(Memo1.lines, Memo2.lines); }
void TForm1::CopyConvertedToSource() { CopyPane(Memo2.lines, Memo1.lines); }
bool TForm1::CheckSourceFormat() { return CheckFormat(Memo1.lines); }
bool TForm1::CheckConvertedFormat() { return CheckFormat(Memo2.lines); }

int TForm1::CharacterIndex(const std::string& text) const {
    int index = -1;
    for (int i = 0; i < 4; ++i)
        if (text == CharacterNames[i]) index = i;
    return index;
}

void TForm1::DrawSourceResponse(int count) { DrawResponse(Image1, PlotRect, PlotCoefs, count); }
void TForm1::DrawConvertedResponse(int count) { DrawResponse(Image2, PlotRect, PlotCoefs, count); }

}  // namespace tobrenth
