#pragma once
// How panes and boxes show texts too long or too odd to show whole. Qt code, for ui/qt only.
#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

class QTextDocument;

namespace ui::qt {

// A pane's text as shown: a line of more than 1,024 characters shows its start and "…", a mark
// that stands for the hidden rest of the line.
struct ShownPane {
    QString text;
    std::vector<int> markedLines;  // the lines that end in a mark
    std::vector<QString> rests;    // their hidden rests, in the same order
};
ShownPane ShapePane(const QString& text);

// Tags the marks of a pane just given its shown text, so that each mark is known wherever edits
// move it and is told from a "…" that the user types.
void TagMarks(QTextDocument& document, const ShownPane& shown);

// The pane's lines as UTF-8, each mark that the user kept standing for its rest again.
std::vector<std::string> PaneLines(const QTextDocument& document, const std::vector<QString>& rests);

// What a box shows of a message: the whole of it where it fits in half the screen's height,
// otherwise its start and its end with "…" in place of its middle.
QString BoxText(const QString& message, const QFont& font, const QRect& screen);

}  // namespace ui::qt
