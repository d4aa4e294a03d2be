#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "textutil/sjis.h"
#include "ui/font.h"
#include "ui/qt/testwindow.h"
#include "ui/tempfolder.h"

namespace {

// One control of every kind, with handlers that show what they were given.
class SampleForm : public ui::Form {
public:
    explicit SampleForm(ui::Desktop& d) : Form(d, "pSample") {
        caption = Sjis("Sample  見本ウィンドウ");
        left = 40;
        top = 30;
        width = 520;
        height = 420;
        Place(Button1, "Button1", 8, 8, 75, 25, 0);
        Place(Label1, "Label1", 96, 12, 60, 12);
        Place(Edit1, "Edit1", 160, 8, 65, 20, 1);
        Place(CheckBox1, "CheckBox1", 240, 8, 137, 17, 2);
        Place(RadioGroup1, "RadioGroup1", 400, 8, 73, 57, 3);
        Place(GroupBox1, "GroupBox1", 8, 40, 153, 80, 4);
        Place(Button2, "Button2", 24, 16, 105, 25, 0, &GroupBox1);
        Place(Memo1, "Memo1", 170, 70, 177, 100, 5);
        Place(ScrollBox1, "ScrollBox1", 8, 180, 300, 170, 6);
        Place(Image1, "Image1", 0, 0, 400, 300, -1, &ScrollBox1);
        Place(StatusBar1, "StatusBar1", 0, 374, 512, 19);
        Button1.caption = "draw";
        Label1.caption = "order:";
        Label1.bold = true;
        Edit1.text = "60";
        Edit1.color = 0xC0DCC0;
        CheckBox1.caption = "deleteSideEndCoef";
        CheckBox1.checked = true;
        RadioGroup1.caption = " character ";
        RadioGroup1.items = {"LPF", "HPF"};
        RadioGroup1.itemIndex = 0;
        Button2.caption = "grow";
        Memo1.lines.SetAll({Sjis("　　【注意事項】"), "", ""});
        Memo1.verticalScrollBar = true;
        StatusBar1.simpleText = Sjis("準備完了");
        Button1.onClick = [this] { Button1Click(); };
        Button2.onClick = [this] { Image1.width += 100; };
        RadioGroup1.onClick = [this] { Label1.caption = "item " + std::to_string(RadioGroup1.itemIndex); };
    }
    ui::Button Button1, Button2;
    ui::Label Label1;
    ui::Edit Edit1;
    ui::CheckBox CheckBox1;
    ui::RadioGroup RadioGroup1;
    ui::GroupBox GroupBox1;
    ui::Memo Memo1;
    ui::ScrollBox ScrollBox1;
    ui::Image Image1;
    ui::StatusBar StatusBar1;
    int lineCountSeen = -1;

private:
    void Button1Click() {
        lineCountSeen = Memo1.lines.Count();
        Image1.canvas.penColor = ui::clRed;
        Image1.canvas.MoveTo(10, 10);
        Image1.canvas.LineTo(60, 10);
        Memo1.lines.Set(1, Edit1.text + (CheckBox1.checked ? " checked" : " unchecked"));
        Edit1.text = Sjis("完了");
        Edit1.enabled = false;
        StatusBar1.color = ui::clRed;
    }
};

using QtWindowTest = ui::qt::WindowTest<SampleForm>;

TEST_F(QtWindowTest, EveryControlIsANamedWidgetAtItsPlaceAndSize) {
    EXPECT_EQ(window->windowTitle().toStdString(), "Sample  見本ウィンドウ");
    EXPECT_EQ(window->size(), QSize(520 - 8, 420 - 27));
    for (ui::Control* c : form.controls()) {
        QWidget* w = Widget(c->name.c_str());
        ASSERT_NE(w, nullptr) << c->name;
        EXPECT_EQ(w->geometry(), QRect(c->left, c->top, c->width, c->height)) << c->name;
        EXPECT_EQ(w->font().bold(), c->bold) << c->name;
        EXPECT_EQ(w->font().pixelSize(), 12) << c->name;
    }
    EXPECT_EQ(Widget("Button2")->parentWidget(), Widget("GroupBox1"));
    EXPECT_TRUE(Widget("ScrollBox1")->isAncestorOf(Widget("Image1")));
    EXPECT_NE(Widget<QPushButton>("Button1"), nullptr);
    EXPECT_NE(Widget<QLineEdit>("Edit1"), nullptr);
    EXPECT_NE(Widget<QCheckBox>("CheckBox1"), nullptr);
    EXPECT_NE(Widget<QTextEdit>("Memo1"), nullptr);
    EXPECT_NE(Widget<QScrollArea>("ScrollBox1"), nullptr);
    EXPECT_EQ(Widget<QLabel>("Label1")->text(), "order:");
    EXPECT_EQ(Widget<QLabel>("StatusBar1")->text().toStdString(), "準備完了");
    EXPECT_EQ(Widget<QGroupBox>("RadioGroup1")->findChildren<QRadioButton*>().size(), 2);
    EXPECT_EQ(Widget<QTextEdit>("Memo1")->toPlainText().toStdString(), "　　【注意事項】\n\n\n");
}

TEST_F(QtWindowTest, TheWindowIsNotBlank) {
    QImage shot = window->grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 5u);
}

TEST_F(QtWindowTest, AClickPullsTheWidgetsAndPushesTheModelBack) {
    auto* edit = Widget<QLineEdit>("Edit1");
    edit->selectAll();
    QTest::keyClicks(edit, "80");
    Widget<QCheckBox>("CheckBox1")->click();
    auto* memo = Widget<QTextEdit>("Memo1");
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "x");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "y");
    EXPECT_EQ(form.Edit1.text, "60");  // the model changes only when a handler runs

    QTest::mouseClick(Widget("Button1"), Qt::LeftButton);

    EXPECT_EQ(form.lineCountSeen, 5);
    EXPECT_EQ(form.Memo1.lines.Get(1), "80 unchecked");
    EXPECT_EQ(memo->toPlainText().toStdString(), "　　【注意事項】\n80 unchecked\n\nx\ny\n");
    EXPECT_EQ(edit->text().toStdString(), "完了");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(Widget("StatusBar1")->palette().color(QPalette::Window), QColor(255, 0, 0));
    QApplication::processEvents();
    QImage picture = Widget("Image1")->grab().toImage();
    EXPECT_EQ(picture.pixelColor(30, 10), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(30, 11), QColor(255, 255, 255));
}

TEST_F(QtWindowTest, ChoosingARadioItemRunsItsHandler) {
    QList<QRadioButton*> radios = Widget("RadioGroup1")->findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 2);
    EXPECT_TRUE(radios[0]->isChecked());
    radios[1]->click();
    EXPECT_EQ(form.RadioGroup1.itemIndex, 1);
    EXPECT_EQ(Widget<QLabel>("Label1")->text(), "item 1");
    radios[1]->click();  // the same item again: no change, no handler
    radios[0]->click();
    EXPECT_EQ(Widget<QLabel>("Label1")->text(), "item 0");
}

TEST_F(QtWindowTest, AnImageFollowsItsWidthAndItsScrollArea) {
    Widget<QPushButton>("Button2")->click();
    EXPECT_EQ(Widget("Image1")->size(), QSize(500, 300));
    EXPECT_EQ(Widget<QScrollArea>("ScrollBox1")->widget()->size(), QSize(500, 300));
}

// Captions of the layouts in their controls' widths, the labels sized to their text on the canvas.
class CaptionForm : public ui::Form {
public:
    explicit CaptionForm(ui::Desktop& d) : Form(d, "pSample") {
        width = 600;
        height = 300;
        Place(CheckBox1, "CheckBox1", 8, 8, 105, 17, 0);
        CheckBox1.caption = "clearBeforeDraw";
        Place(Button1, "Button1", 8, 32, 137, 25, 1);
        Button1.caption = "conv notchedShelving ->";
        Place(Button2, "Button2", 8, 64, 75, 25, 2);
        Button2.caption = "savePaintFile";
        Place(RadioGroup1, "RadioGroup1", 160, 8, 97, 57, 3);
        RadioGroup1.items = {"0.000005dB", "0.000002dB"};
        PlaceLabel(Label1, "Label1", 8, 100, "SOURCE CHARACTOR", true);
        PlaceLabel(Label2, "Label2", 8, 120, "CONVERTED FILE", true);
        Place(Label3, "Label3", 8, 140, 33, 12);
        Label3.caption = "name :";
        Place(StatusBar1, "StatusBar1", 0, 250, 592, 19);
        StatusBar1.simpleText = Sjis("奇数次（偶数タップ）フィルタは取り扱えません。");
    }
    ui::CheckBox CheckBox1;
    ui::Button Button1, Button2;
    ui::RadioGroup RadioGroup1;
    ui::Label Label1, Label2, Label3;
    ui::StatusBar StatusBar1;

private:
    void PlaceLabel(ui::Label& l, const char* name, int left, int top, const char* caption, bool bold) {
        l.caption = caption;
        l.bold = bold;
        Place(l, name, left, top, ui::TextWidth(caption, bold), 12);
    }
};

TEST(QtCaptions, HalfWidthCaptionsFitTheirControlsAndJapaneseKeepsTheFullFace) {
    ui::qt::OffscreenApp();
    if (ui::FontFile().empty()) GTEST_SKIP() << "no font installed";
    ui::qt::QtDesktop desktop;
    CaptionForm form(desktop);
    form.Create();
    std::unique_ptr<QWidget> window = ui::qt::BuildWindow(form, desktop);
    window->show();
    QApplication::processEvents();
    std::vector<QWidget*> shown;
    for (const char* name : {"CheckBox1", "Label1", "Label2", "Label3"}) shown.push_back(window->findChild<QWidget*>(name));
    for (QRadioButton* radio : window->findChildren<QRadioButton*>()) shown.push_back(radio);
    ASSERT_EQ(shown.size(), 6u);
    for (QWidget* w : shown) {
        ASSERT_NE(w, nullptr);
        EXPECT_LE(w->sizeHint().width(), w->width()) << w->objectName().toStdString();
    }
    // A push button centres its caption with a few pixels of frame on either side.
    for (const char* name : {"Button1", "Button2"}) {
        auto* button = window->findChild<QPushButton*>(name);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width()) << name;
    }
    auto* status = window->findChild<QLabel*>("StatusBar1");
    EXPECT_EQ(QFontInfo(status->font()).pixelSize(), 12);
    EXPECT_GE(status->fontMetrics().horizontalAdvance(QString::fromUtf8("奇")), 11);
}

// A pane holding bytes that do not survive a trip through Unicode, and a button that does nothing.
class PaneForm : public ui::Form {
public:
    explicit PaneForm(ui::Desktop& d) : Form(d, "pSample") {
        width = 300;
        height = 250;
        Place(Button1, "Button1", 200, 8, 75, 25, 0);
        Place(Memo1, "Memo1", 8, 8, 177, 153, 1);
        Memo1.lines.SetAll({"name : ", "coefType : real\xFF\xFE\x80", "\xED\x40", ""});
        Button1.onClick = [] {};
    }
    ui::Button Button1;
    ui::Memo Memo1;
};

using QtPaneBytesTest = ui::qt::WindowTest<PaneForm>;

TEST_F(QtPaneBytesTest, TypingInOneLineKeepsTheBytesOfTheOthers) {
    auto* memo = Widget<QTextEdit>("Memo1");
    QTextCursor cursor(memo->document()->findBlockByNumber(0));
    cursor.movePosition(QTextCursor::EndOfBlock);
    memo->setTextCursor(cursor);
    QTest::keyClicks(memo, "x");
    QTest::mouseClick(Widget("Button1"), Qt::LeftButton);
    EXPECT_EQ(form.Memo1.lines.All(),
              (std::vector<std::string>{"name : x", "coefType : real\xFF\xFE\x80", "\xED\x40", ""}));
}

TEST_F(QtPaneBytesTest, AVeryLongLineShowsItsStartAndStaysWhole) {
    const std::string longLine = " 1" + std::string(200000, '0');
    form.Memo1.lines.Set(2, longLine);
    QTest::mouseClick(Widget("Button1"), Qt::LeftButton);
    auto* memo = Widget<QTextEdit>("Memo1");
    EXPECT_EQ(memo->document()->findBlockByNumber(2).text().toStdString(), longLine.substr(0, 1024) + "…");
    QTextCursor cursor(memo->document()->findBlockByNumber(0));
    cursor.movePosition(QTextCursor::EndOfBlock);
    memo->setTextCursor(cursor);
    QTest::keyClicks(memo, "x");
    QTest::mouseClick(Widget("Button1"), Qt::LeftButton);
    EXPECT_EQ(form.Memo1.lines.Get(0), "name : x");
    EXPECT_EQ(form.Memo1.lines.Get(2), longLine);
}

// The "…" stands for the hidden rest of a long line: an edit of the shown start keeps the rest behind
// it, and only deleting the mark itself drops the rest.
TEST_F(QtPaneBytesTest, EditingALongLineKeepsItsHiddenRest) {
    const std::string key = "coefType coefList : ";  // 20 characters, then 1,004 "N" shown
    const std::string longLine = key + std::string(1500, 'N') + "TAIL";
    struct Case {
        const char* what;
        int at;        // where in line 2 the cursor goes; -1: the line's end, behind the mark
        Qt::Key key;   // pressed there; Qt::Key_unknown: `text` is typed
        const char* text;
        std::vector<std::string> lines;  // lines 2 and on afterwards
    };
    const Case cases[] = {
        {"a character typed into the start", 25, Qt::Key_unknown, "N", {key + std::string(1501, 'N') + "TAIL", ""}},
        {"text typed behind the mark", -1, Qt::Key_unknown, "x", {longLine + "x", ""}},
        {"the start broken in two", 25, Qt::Key_Return, "", {key + "NNNNN", std::string(1495, 'N') + "TAIL", ""}},
        {"the mark deleted", -1, Qt::Key_Backspace, "", {key + std::string(1004, 'N'), ""}},
    };
    auto* memo = Widget<QTextEdit>("Memo1");
    for (const Case& c : cases) {
        form.Memo1.lines.SetAll({"name : ", "x", longLine, ""});
        QTest::mouseClick(Widget("Button1"), Qt::LeftButton);
        const QTextBlock block = memo->document()->findBlockByNumber(2);
        QTextCursor cursor(block);
        if (c.at < 0)
            cursor.movePosition(QTextCursor::EndOfBlock);
        else
            cursor.setPosition(block.position() + c.at);
        memo->setTextCursor(cursor);
        if (c.key == Qt::Key_unknown)
            QTest::keyClicks(memo, c.text);
        else
            QTest::keyClick(memo, c.key);
        QTest::mouseClick(Widget("Button1"), Qt::LeftButton);
        const std::vector<std::string>& all = form.Memo1.lines.All();
        EXPECT_EQ(std::vector<std::string>(all.begin() + 2, all.end()), c.lines) << c.what;
        EXPECT_EQ(form.Memo1.lines.Get(1), "x") << c.what;
    }
}

// Runs the desktop's error box for a text and reports what the box showed and where it stood.
struct ShownBox {
    QString text;
    QRect frame;
    QRect screen;
};

ShownBox ShowErrorBox(ui::qt::QtDesktop& desktop, const std::string& sjis) {
    ShownBox shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        poll.stop();
        shown = {box->text().remove(QChar(0x200B)), box->frameGeometry(), box->screen()->availableGeometry()};
        box->accept();
    });
    poll.start(10);
    desktop.ErrorBox("psample", sjis);
    return shown;
}

TEST_F(QtPaneBytesTest, BoxesShowTheWholeMessageOrItsStartAndEnd) {
    const std::string floatEnd = Sjis("' は浮動小数点数ではありません");
    struct Case {
        const char* what;
        std::string message;  // Shift-JIS
        std::string start;    // UTF-8: the box's text begins so
        std::string end;      // and ends so
        bool cut;
    };
    const Case cases[] = {
        {"a short message", Sjis("ファイルが見つかりません"), "ファイルが見つかりません", "", false},
        {"control bytes as marks", std::string("' 0.3176\0 2254\t\x1F\x7F", 17) + floatEnd,
         "' 0.3176^@ 2254^I^_^?' は浮動小数点数ではありません", "", false},
        {"a quote too long for the screen", "'" + std::string(200000, '7') + Sjis("' は整数ではありません"), "'7777777777",
         "777' は整数ではありません", true},
    };
    for (const Case& c : cases) {
        const ShownBox box = ShowErrorBox(desktop, c.message);
        const std::string text = box.text.toStdString();
        EXPECT_EQ(text.substr(0, c.start.size()), c.start) << c.what;
        if (!c.cut) {
            EXPECT_EQ(text, c.start) << c.what;
        }
        EXPECT_EQ(text.size() >= c.end.size() ? text.substr(text.size() - c.end.size()) : text, c.end) << c.what;
        EXPECT_EQ(box.text.contains(QChar(0x2026)), c.cut) << c.what;
        EXPECT_LE(box.frame.height(), box.screen.height()) << c.what;
        EXPECT_LE(box.frame.width(), box.screen.width()) << c.what;
    }
}

// Listing a folder reads none of its files: a file that never answers a read (/proc/kmsg, say)
// would otherwise hold the dialog up for good. Files whose names tell nothing are read first when
// a type is guessed from contents.
TEST(QtDialogs, ListingAFolderReadsNoFile) {
    ui::qt::OffscreenApp();
    ui::TempFolder folder(ui::TempFolder::kStayOutside);
    const std::vector<std::string> names = {"taps", "notes", "k-su.efc"};
    for (const std::string& name : names) std::ofstream(folder.Path(name)) << "#!/bin/sh\n%PDF-1.4\n";
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.path().c_str(), IN_OPEN | IN_ACCESS), 0);

    bool listed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
        if (!model) return;
        // The type column is filled once the model has looked at each file.
        for (const std::string& name : names)
            if (model->data(model->index(QString::fromStdString(folder.Path(name)), 2)).toString().isEmpty()) return;
        listed = true;
        poll.stop();
        dialog->reject();
    });
    poll.start(10);
    ui::qt::QtDesktop desktop;
    ui::OpenDialog dialog;
    dialog.initialDir = folder.path();
    EXPECT_FALSE(desktop.ChooseFile(dialog));
    EXPECT_TRUE(listed);

    std::set<std::string> opened;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;)
        for (char* p = events; p < events + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            if (reinterpret_cast<inotify_event*>(p)->len > 0) opened.insert(reinterpret_cast<inotify_event*>(p)->name);
    close(watch);
    EXPECT_TRUE(opened.empty()) << "read: " << *opened.begin();
}

// The notes pane of the design window: 177 x 153 pixels, twelve lines, one of them longer than
// the pane is wide, and output lines at the end that must stay in sight.
class NotesForm : public ui::Form {
public:
    explicit NotesForm(ui::Desktop& d) : Form(d, "pSample") {
        width = 300;
        height = 250;
        Place(Button1, "Button1", 200, 8, 75, 25, 0);
        Place(Memo1, "Memo1", 8, 8, 177, 153, 1);
        Place(Edit1, "Edit1", 8, 170, 65, 20, 2);
        std::vector<std::string> lines(24);
        lines[2] = Sjis("　ｏｒｄｅｒの値は４の倍数として下さ");
        lines[11] = "(rep = 7)";
        Memo1.lines.SetAll(lines);
        Memo1.enabled = false;
    }
    ui::Button Button1;
    ui::Memo Memo1;
    ui::Edit Edit1;
};

TEST(QtPanes, LinesKeepTheTwelvePixelPitchWithoutWrappingAndTabLeavesThePane) {
    ui::qt::OffscreenApp();
    ui::qt::QtDesktop desktop;
    NotesForm form(desktop);
    form.Create();
    std::unique_ptr<QWidget> window = ui::qt::BuildWindow(form, desktop);
    window->show();
    QApplication::processEvents();
    auto* memo = window->findChild<QTextEdit*>("Memo1");
    ASSERT_NE(memo, nullptr);
    auto lineTop = [&](int i) { return memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(i))).top(); };
    EXPECT_EQ(lineTop(5) - lineTop(0), 5 * 12);
    EXPECT_EQ(lineTop(11) - lineTop(0), 11 * 12);  // the long line 2 takes one row
    EXPECT_LE(lineTop(11) + 12, memo->viewport()->height());
    EXPECT_TRUE(memo->tabChangesFocus());
}

}  // namespace
