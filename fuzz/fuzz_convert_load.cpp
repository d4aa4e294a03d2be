// pTobrenth's load and format check on any file, every conversion on what was loaded, and the
// round trip of the complement through save and load.
#include <cmath>
#include <string>

#include "convert/form1.h"
#include "scratch.h"
#include "textutil/numtext.h"
#include "textutil/text.h"
#include "ui/scripted.h"

namespace {

size_t Boxes(const ui::ScriptedDesktop& desk) { return desk.messages.size() + desk.errors.size(); }

int PaneCount(const ui::Lines& pane) {
    const std::string value = TextAfter(pane.Get(4), ":", true, true);
    return IsIntegerText(value, true) && value.size() <= 4 ? std::stoi(value) : -1;
}

// The complement is written with 18 decimals; beyond 1e15 the text may take an exponent, which
// the format check refuses by design.
bool PlainValues(const tobrenth::TForm1& form, int n) {
    for (int k = 0; k < n && k < tobrenth::kPlotCoefCapacity; ++k)
        if (!(std::fabs(form.PlotCoefs[k]) < 1e15L)) return false;
    return true;
}

void CheckComplementRoundTrip(tobrenth::TForm1& form, ui::ScriptedDesktop& desk) {
    const size_t before = Boxes(desk);
    form.Click(form.Button3);  // invert char
    if (Boxes(desk) != before) return;
    FUZZ_CHECK(form.CheckConvertedFormat());

    const std::string saved = ScratchDir() + "/saved.efc";
    desk.QueueFile(saved);
    form.Click(form.Button2);
    FUZZ_CHECK(Boxes(desk) == before);
    desk.QueueFile(saved);
    form.Click(form.Button1);
    FUZZ_CHECK(Boxes(desk) == before);  // what save writes, load takes without a word
    const int n = PaneCount(form.Memo2.lines);
    for (int i = 1; i <= n + 7; ++i) FUZZ_CHECK(form.Memo1.lines.Get(i) == form.Memo2.lines.Get(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeepCurrentDir keep;
    const std::string path = WriteScratch("in.efc", data, size);
    ui::ScriptedDesktop desk;
    tobrenth::TForm1 form(desk);
    form.Create();

    desk.QueueFile(path);
    form.Click(form.Button1);
    const bool loaded = Boxes(desk) == 0;
    if (loaded) FUZZ_CHECK(form.CheckSourceFormat());
    if (loaded && PlainValues(form, PaneCount(form.Memo1.lines))) CheckComplementRoundTrip(form, desk);

    // Each conversion checks the source first; copy back checks the converted pane.
    for (ui::Button* b : {&form.Button9, &form.Button4, &form.Button5, &form.Button6, &form.Button7,
                          &form.Button8, &form.Button3})
        form.Click(*b);
    return 0;
}
