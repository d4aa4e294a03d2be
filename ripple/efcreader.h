#pragma once
// The strict reader of a coefficient file: seven header lines by position, then coefNum
// coefficient lines, every line tested, the verdict given only at the end.
#include <array>
#include <cstdint>
#include <string>

#include "ui/form.h"

namespace mirsadel {

constexpr int kCoefCapacity = 1001;  // an even order of up to 2000

// One read: created fresh at every click.
struct CoefFile {
    std::array<long double, kCoefCapacity> coef{};  // half list, centre tap at index 0
    int32_t coefNum = 0;
    bool isOdd = false;
    bool isShift90 = false;
    bool badFile = false;
};

// The text before the first ":", blanks trimmed on both sides; empty without a ":".
std::string KeyOfLine(const std::string& line);
// The text after the first ":" with leading blanks removed and trailing ones kept.
std::string ValueOfLine(const std::string& line);

// Reads the file at path into file, showing the name in nameEdit and the kind in lines 0 and 1
// of kindMemo as it goes. A file that cannot be opened, or a number that passes its test but
// cannot be converted, throws (FileError, ConvertError) and leaves the file released.
void ReadCoefFile(const std::string& path, CoefFile& file, ui::Edit& nameEdit, ui::Memo& kindMemo);

}  // namespace mirsadel
