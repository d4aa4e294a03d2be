#include "form1.h"

#include "ripple/efcreader.h"
#include "ripple/rippleplot.h"
#include "textutil/sjis.h"
#include "ui/bmp.h"

namespace mirsadel {

TForm1::TForm1(ui::Desktop& desktop) : ui::Form(desktop, "pMirsadel") {
    caption = Sjis("Mirsadel  リプル特性表示ツール");
    left = 272;
    top = 46;
    width = 725;
    height = 682;
    color = ui::clWhite;

    Place(Button1, "Button1", 624, 24, 75, 25, 0);
    Button1.caption = "draw";
    Button1.onClick = [this] { Button1Click(); };

    Place(RadioGroup2, "RadioGroup2", 504, 16, 97, 233, 1);
    RadioGroup2.caption = " full scale +/- ";
    for (int s = 0; s < kScaleCount; ++s) RadioGroup2.items.push_back(ScaleRowOf(s).itemText);
    RadioGroup2.itemIndex = 0;

    Place(Edit1, "Edit1", 56, 24, 305, 20, 2);
    Edit1.text = "filterName";

    Place(CheckBox1, "CheckBox1", 384, 96, 105, 17, 3);
    CheckBox1.caption = "clearBeforeDraw";
    CheckBox1.checked = true;

    Place(ScrollBox1, "ScrollBox1", 0, 256, 713, 393, 4);

    Place(Button2, "Button2", 624, 64, 75, 25, 5);
    Button2.caption = "savePaintFile";
    Button2.onClick = [this] { Button2Click(); };

    Place(RadioGroup1, "RadioGroup1", 384, 16, 97, 65, 6);
    RadioGroup1.caption = "freqAxis";
    RadioGroup1.items = {"normal", "wide", "veryWide"};
    RadioGroup1.itemIndex = 0;

    Place(Memo1, "Memo1", 56, 56, 121, 33, 7);
    Memo1.lines.SetAll({"", "", "", "", ""});

    Place(Label2, "Label2", 16, 28, 33, 12);
    Label2.caption = "name :";
    Place(Label3, "Label3", 22, 60, 27, 12);
    Label3.caption = "kind :";

    Place(Image1, "Image1", -4, 0, 5210, 369, -1, &ScrollBox1);

    Place(OpenDialog1, "OpenDialog1");
    OpenDialog1.defaultExt = "efc";
}

void TForm1::FormCreate() { OpenDialog1.initialDir = ui::CurrentDir(); }

void TForm1::Button1Click() {
    const int s = RadioGroup2.itemIndex;
    CoefFile file;
    if (!OpenDialog1.Execute()) return;
    ReadCoefFile(OpenDialog1.fileName, file, Edit1, Memo1);
    if (CheckBox1.checked) Image1.canvas.FillRect(0, 0, 5200, 400);
    if (file.badFile) {
        ShowMessage(Sjis("参照したｅｆｃファイルの内容が適切ではありません。"));
        return;
    }
    DrawRipple(Image1, file, s, RadioGroup1.itemIndex, parallelCurve);
}

void TForm1::Button2Click() {
    // Nothing has been drawn yet: there is no picture to save.
    if (!Image1.picture) return;
    ui::SaveBmp(*Image1.picture, "Lunovar.bmp");
}

}  // namespace mirsadel
