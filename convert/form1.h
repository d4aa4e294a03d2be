#pragma once
// The window of pTobrenth: a source and a converted coefficient file held as pane lines,
// load and save, six conversions, copy back and the two magnitude plots.
#include <string>

#include "plot.h"
#include "ui/form.h"

namespace tobrenth {

constexpr int kPresetLines = 1100;  // lines the layout gives each pane, before its one empty line
constexpr int kCharacterCapacity = 11;

class TForm1 : public ui::Form {
public:
    explicit TForm1(ui::Desktop& desktop);

    ui::Button Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8, Button9;
    ui::Label Label1, Label2, Label3, Label4, Label5, Label6;
    ui::Memo Memo1, Memo2;
    ui::GroupBox GroupBox1;
    ui::Edit Edit1;
    ui::Image Image1, Image2;
    ui::OpenDialog OpenDialog1;
    ui::SaveDialog SaveDialog1;

    // The four source characters at 0 to 3; complementary pairs differ in the lowest bit.
    std::string CharacterNames[kCharacterCapacity];
    long double PlotCoefs[kPlotCoefCapacity] = {};
    Rect PlotRect{};

    void Button1Click();  // load
    void Button2Click();  // save
    void Button3Click();  // invert char
    void Button4Click();  // conv notch
    void Button5Click();  // conv shelving
    void Button6Click();  // conv notchedShelving
    void Button7Click();  // conv doubleMirror
    void Button8Click();  // copy back
    void Button9Click();  // freq reverse

    void ClearSourcePane();
    void ClearConvertedPane();
    void CopySourceToConverted();
    void CopyConvertedToSource();
    int CharacterIndex(const std::string& text) const;
    bool CheckSourceFormat();
    bool CheckConvertedFormat();
    void DrawSourceResponse(int count);
    void DrawConvertedResponse(int count);

protected:
    void FormCreate() override;

private:
    void PlaceControls();
    void PresetPanes();
    void LoadSourceFile(const std::string& path);
    void SaveConvertedFile(const std::string& path, int count);

    // Conversion steps; each check shows its message and returns false when it fails.
    bool SourceUsable();
    bool PartnerCharacter(int& partner);
    bool ResultFits(bool doubled);
    bool OrderDoubles();
    bool ReadGain(long double& gain);
    int ConvertedCount();
    long double ConvertedCoef(int k);
    void SetConvertedCoef(int k, long double value);
    void SetConvertedLine(int i, const std::string& text);
    void ReloadAndDrawConverted(int count);
    void Shelve(const std::string& prefix, long double factor, long double centreShift);
};

}  // namespace tobrenth
