// pMirsadel's strict reader on any file, then the whole draw click on every file it accepts.
#include "ripple/efcreader.h"
#include "ripple/form1.h"
#include "scratch.h"
#include "textutil/errors.h"
#include "ui/scripted.h"

namespace {

// The plot evaluates 25,000 points per coefficient; larger accepted files only slow the search.
constexpr int kPlotCoefLimit = 256;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeepCurrentDir keep;
    const std::string path = WriteScratch("in.efc", data, size);
    ui::ScriptedDesktop desk;
    mirsadel::TForm1 form(desk);
    form.Create();

    mirsadel::CoefFile file;
    try {
        mirsadel::ReadCoefFile(path, file, form.Edit1, form.Memo1);
    } catch (const AppError&) {
        return 0;  // a number that passes its test but does not convert abandons the click
    }
    FUZZ_CHECK(form.Memo1.lines.Count() == 5);
    if (file.badFile) return 0;
    FUZZ_CHECK(file.coefNum >= 0 && file.coefNum <= mirsadel::kCoefCapacity);
    if (file.coefNum > kPlotCoefLimit) return 0;

    form.parallelCurve = false;
    desk.QueueFile(path);
    form.Click(form.Button1);
    FUZZ_CHECK(desk.messages.empty());  // the reader accepted it a moment ago
    FUZZ_CHECK(form.Image1.picture && form.Image1.picture->width() == 5210);
    return 0;
}
