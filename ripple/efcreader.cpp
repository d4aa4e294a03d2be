#include "efcreader.h"

#include "ripple/isnumbertext.h"
#include "textutil/numtext.h"
#include "textutil/text.h"
#include "textutil/textfile.h"

namespace mirsadel {

std::string KeyOfLine(const std::string& line) { return TextBefore(line, ":", true, true); }

std::string ValueOfLine(const std::string& line) { return TextAfter(line, ":", true, false); }

namespace {

bool KeyHas(const std::string& line, const std::string& key) { return HasSubText(key, KeyOfLine(line)); }

void ReadNameLine(const std::string& line, CoefFile& file, ui::Edit& nameEdit) {
    // The name line is found by its whole text, with exactly one blank before the colon.
    if (!HasSubText("name :", line)) {
        file.badFile = true;
        return;
    }
    std::string name = TrimLeftBlanks(ValueOfLine(line));
    nameEdit.text = name.empty() ? "- none -" : name;
}

void ReadOrderLine(const std::string& line, CoefFile& file, ui::Memo& kindMemo) {
    if (!KeyHas(line, "order")) file.badFile = true;
    std::string value = ValueOfLine(line);
    if (!IsIntegerText(value, true)) {
        file.badFile = true;
        return;
    }
    file.isOdd = StrToInt(value) % 2 != 0;
    kindMemo.lines.Set(0, file.isOdd ? "order : odd" : "order : even");
}

void ReadPhaseLine(const std::string& line, CoefFile& file, ui::Memo& kindMemo) {
    if (!KeyHas(line, "phase")) file.badFile = true;
    std::string value = ValueOfLine(line);
    bool zero = HasSubText("zero", value);
    if (!zero && !HasSubText("shift90", value)) file.badFile = true;
    file.isShift90 = !zero;
    kindMemo.lines.Set(1, zero ? "phase : zero" : "phase : shift90");
}

void ReadCoefNumLine(const std::string& line, CoefFile& file) {
    if (!KeyHas(line, "coefNum")) file.badFile = true;
    std::string value = ValueOfLine(line);
    if (IsIntegerText(value, true))
        file.coefNum = StrToInt(value);
    else
        file.badFile = true;
}

void ReadCoefTypeLine(const std::string& line, CoefFile& file) {
    if (!KeyHas(line, "coefType")) file.badFile = true;
    if (!HasSubText("real", ValueOfLine(line))) file.badFile = true;
}

// Lines that the store cannot hold are not read: such a count makes the file bad, and a
// count in the billions must not keep the click reading empty lines past the end.
void ReadCoefLines(TextReader& reader, CoefFile& file) {
    if (file.coefNum > kCoefCapacity) file.badFile = true;
    int count = file.coefNum < kCoefCapacity ? file.coefNum : kCoefCapacity;
    for (int k = 0; k < count; ++k) {
        std::string line = reader.ReadLine();
        if (IsNumberText(line))
            file.coef[size_t(k)] = StrToReal(line);
        else
            file.badFile = true;
    }
}

}  // namespace

void ReadCoefFile(const std::string& path, CoefFile& file, ui::Edit& nameEdit, ui::Memo& kindMemo) {
    TextReader reader(path);
    ReadNameLine(reader.ReadLine(), file, nameEdit);
    ReadOrderLine(reader.ReadLine(), file, kindMemo);
    ReadPhaseLine(reader.ReadLine(), file, kindMemo);
    if (!KeyHas(reader.ReadLine(), "character")) file.badFile = true;
    ReadCoefNumLine(reader.ReadLine(), file);
    ReadCoefTypeLine(reader.ReadLine(), file);
    if (!KeyHas(reader.ReadLine(), "coefList")) file.badFile = true;
    ReadCoefLines(reader, file);
    reader.Close();
}

}  // namespace mirsadel
