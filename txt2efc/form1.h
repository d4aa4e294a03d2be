#pragma once
// pQuisdale's window: converts a plain list of half coefficients into a coefficient file.
#include <string>

#include "ui/form.h"

namespace quisdale {

class TForm1 : public ui::Form {
public:
    explicit TForm1(ui::Desktop& desktop);

    ui::Button Button1;
    ui::StatusBar StatusBar1;
    ui::OpenDialog OpenDialog1;

    void Button1Click();

protected:
    void FormCreate() override;

private:
    void ResetStatusBar();
    void ShowEvenCountRefusal();
};

// True iff every byte is "0" to "9"; true for the empty text, so callers test for emptiness.
bool IsDigitsOnlyText(const std::string& text);

}  // namespace quisdale
