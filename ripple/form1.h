#pragma once
// The ripple display window: pick a coefficient file, show its name and kind, draw its ripple.
#include "ui/form.h"

namespace mirsadel {

class TForm1 : public ui::Form {
public:
    explicit TForm1(ui::Desktop& desktop);

    ui::Button Button1;
    ui::RadioGroup RadioGroup2;
    ui::Edit Edit1;
    ui::CheckBox CheckBox1;
    ui::ScrollBox ScrollBox1;
    ui::Button Button2;
    ui::RadioGroup RadioGroup1;
    ui::Memo Memo1;
    ui::Label Label2;
    ui::Label Label3;
    ui::Image Image1;
    ui::OpenDialog OpenDialog1;

    // Whether the curve's amplitudes are computed on several threads before drawing; the
    // one-point-at-a-time path gives the same picture.
    bool parallelCurve = true;

    void Button1Click();
    void Button2Click();

protected:
    void FormCreate() override;
};

}  // namespace mirsadel
