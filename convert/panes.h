#pragma once
// A pane holds one coefficient file as indexed text lines: line 0 the name, 1 to 6 the rest of
// the header, 7 on the coefficients (centre tap first), then "end;".
#include <string>

#include "ui/form.h"

namespace tobrenth {

constexpr int kFirstCoefLine = 7;   // pane line of the centre tap
constexpr int kLastClearedLine = 2100;

// The key of a header line: the text before the first ":", blanks trimmed.
std::string KeyOf(const std::string& line);
// The value of a header line: the text after the first ":", blanks trimmed.
std::string ValueOf(const std::string& line);

// Empties lines 0 to 2100; the pane keeps its number of lines.
void ClearPane(ui::Lines& pane);
// Replaces target by the file in source with an empty name; source must have passed CheckFormat.
void CopyPane(const ui::Lines& source, ui::Lines& target);
// True iff the pane holds a coefficient file this program accepts. A too-large digit string
// in the order or count throws ConvertError from the integer conversion.
bool CheckFormat(const ui::Lines& pane);

// The largest count whose "end;" line still lies inside the pane.
long long MaxCountInPane(const ui::Lines& pane);

// Whether count coefficients fit the pane and the plot array. A count that a pane as the program
// creates it would hold fails only because the user has shortened the pane.
enum class CountFit { kFits, kPaneTooShort, kTooMany };
CountFit FitOfCount(const ui::Lines& pane, long long count);

}  // namespace tobrenth
