#pragma once
// The design window: the request's fields, the notes pane with the limits, and the picture.
#include "design/checks.h"
#include "design/engine.h"
#include "ui/form.h"

namespace corvalen {

class TForm1 : public ui::Form {
public:
    explicit TForm1(ui::Desktop& desktop);

    ui::RadioGroup RadioGroup1;
    ui::Label Label1;
    ui::Edit Edit1;
    ui::Label Label2;
    ui::Edit Edit2;
    ui::Label Label3;
    ui::Edit Edit3;
    ui::Label Label4;
    ui::Edit Edit4;
    ui::Label Label5;
    ui::Edit Edit5;
    ui::CheckBox CheckBox1;
    ui::Button Button1;
    ui::Memo Memo1;
    ui::Button Button2;
    ui::ScrollBox ScrollBox1;
    ui::Image Image1;

    // Exchange cycles after which a design is given up as not converging.
    int maxCycles = kMaxCycles;

    void Button1Click();
    void Button2Click();
    void RadioGroup1Click();

protected:
    void FormCreate() override;

private:
    void ShowLimits(const Request& r, const RequestLimits& limits);
    void Design(const Request& r);
};

}  // namespace corvalen
