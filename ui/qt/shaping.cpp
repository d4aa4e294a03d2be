#include "shaping.h"

#include <QFontMetrics>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

#include <algorithm>

#include "../form.h"

namespace ui::qt {

namespace {

const QChar kEllipsis(0x2026);

// Laying out one line of millions of characters holds a window up for a minute, and no line of a
// coefficient file comes near this: a pane shows the start of a longer line.
constexpr qsizetype kPaneLineShown = 1024;

// The character property that tags a mark with the number of its rest.
constexpr int kRestProperty = QTextFormat::UserProperty + 1;

// Text cut to keep characters: its start and its end with "…" between them.
QString CutMiddle(const QString& text, qsizetype keep) {
    if (text.size() <= keep) return text;
    qsizetype head = (keep + 1) / 2, tail = keep / 2;
    if (head > 0 && text[head - 1].isHighSurrogate()) --head;
    if (tail > 0 && text[text.size() - tail].isLowSurrogate()) --tail;
    return text.left(head) + kEllipsis + text.right(tail);
}

// Control characters in caret notation (NUL as ^@, DEL as ^?), which every face can draw; a
// line break stays one.
QString ShowControls(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() == 0x7F) shown += QStringLiteral("^?");
        else if (c.unicode() < 0x20 && c != QLatin1Char('\n')) shown += QLatin1Char('^') + QChar(char16_t(0x40 + c.unicode()));
        else shown += c;
    }
    return shown;
}

// Lets the box wrap a run that has no break of its own, such as a long number: a zero-width space
// every few characters of it. The box's own fallback for such runs gets its height wrong.
void BreakLongRuns(QString& text) {
    constexpr qsizetype kRun = 32;
    const QChar kBreak(0x200B);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    QString broken;
    broken.reserve(text.size() + text.size() / kRun);
    qsizetype from = 0;
    for (qsizetype to = breaks.toNextBoundary(); to > 0; to = breaks.toNextBoundary()) {
        for (qsizetype at = from; at < to;) {
            qsizetype end = std::min(at + kRun, to);
            if (end < to && text[end].isLowSurrogate()) ++end;
            if (at > from) broken += kBreak;
            broken += QStringView(text).mid(at, end - at);
            at = end;
        }
        from = to;
    }
    text = broken;
}

// The height a box's text takes: the box wraps a long text at words, in a box half the screen wide
// and at most 500 pixels, whose label is some 80 pixels narrower than the box.
int BoxTextHeight(const QString& text, const QFontMetrics& metrics, int screenWidth) {
    const int labelWidth = std::min(screenWidth / 2, 500) - 80;
    return metrics.boundingRect(QRect(0, 0, labelWidth, 1 << 24), Qt::TextWordWrap, text).height();
}

}  // namespace

QString BoxText(const QString& message, const QFont& font, const QRect& screen) {
    // Far more than any screen's box shows; cutting first keeps the measuring below cheap.
    constexpr qsizetype kLongest = 8000;
    const QString text = CutMiddle(message, kLongest);
    const QFontMetrics metrics(font);
    auto shown = [](const QString& t, qsizetype keep) {
        QString cut = ShowControls(CutMiddle(t, keep));
        BreakLongRuns(cut);
        return cut;
    };
    auto fits = [&](const QString& t) { return BoxTextHeight(t, metrics, screen.width()) <= screen.height() / 2; };
    QString whole = shown(text, text.size());
    if (fits(whole)) return whole;
    qsizetype shortest = 0, longest = text.size();  // shortest fits, longest does not
    while (longest - shortest > 1) {
        qsizetype keep = (shortest + longest) / 2;
        (fits(shown(text, keep)) ? shortest : longest) = keep;
    }
    return shown(text, shortest);
}

ShownPane ShapePane(const QString& text) {
    ShownPane shown{text, {}, {}};
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (std::none_of(lines.begin(), lines.end(), [](const QString& l) { return l.size() > kPaneLineShown; })) return shown;
    QStringList cut;
    cut.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].size() <= kPaneLineShown) {
            cut.append(lines[i]);
            continue;
        }
        shown.markedLines.push_back(int(i));
        shown.rests.push_back(lines[i].mid(kPaneLineShown));
        cut.append(lines[i].left(kPaneLineShown) + kEllipsis);
    }
    shown.text = cut.join(QLatin1Char('\n'));
    return shown;
}

void TagMarks(QTextDocument& document, const ShownPane& shown) {
    if (shown.markedLines.empty()) return;
    document.setUndoRedoEnabled(false);  // an undo must not take a tag away
    for (size_t r = 0; r < shown.markedLines.size(); ++r) {
        QTextCursor mark(document.findBlockByNumber(shown.markedLines[r]));
        mark.movePosition(QTextCursor::EndOfBlock);
        mark.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
        QTextCharFormat tag;
        tag.setProperty(kRestProperty, int(r));
        mark.mergeCharFormat(tag);
    }
    document.setUndoRedoEnabled(true);
}

std::vector<std::string> PaneLines(const QTextDocument& document, const std::vector<QString>& rests) {
    const QString text = document.toPlainText();
    if (rests.empty()) return SplitLines(text.toStdString());
    // A mark is the first character of a tagged run: text typed after it takes its tag too.
    QString whole;
    qsizetype from = 0;
    std::vector<bool> used(rests.size(), false);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment run = it.fragment();
            const QVariant tag = run.charFormat().property(kRestProperty);
            const int r = tag.isValid() ? tag.toInt() : -1;
            if (r < 0 || size_t(r) >= rests.size() || used[size_t(r)] || !run.text().startsWith(kEllipsis)) continue;
            used[size_t(r)] = true;
            whole += QStringView(text).mid(from, run.position() - from);
            whole += rests[size_t(r)];
            from = run.position() + 1;
        }
    whole += QStringView(text).mid(from);
    return SplitLines(whole.toStdString());
}

}  // namespace ui::qt
