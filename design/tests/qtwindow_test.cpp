// The design window on the real toolkit, offscreen: every control is a widget at its place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTextEdit>
#include <QPushButton>
#include <QWidget>
#include <set>

#include "design/form1.h"
#include "design/tests/window.h"
#include "ui/qt/testwindow.h"

namespace corvalen::test {
namespace {

using DesignWindow = ui::qt::WindowTest<TForm1>;

TEST_F(DesignWindow, EveryControlIsAWidgetAtItsPlace) {
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Corvalen  ナイキストフィルタ係数設計ツール　（偶数次零位相ＦＩＲフィルタ専用）");
    const char* names[] = {"RadioGroup1", "Label1", "Edit1", "Label2", "Edit2", "Label3", "Edit3", "Label4", "Edit4",
                           "Label5", "Edit5", "CheckBox1", "Button1", "Memo1", "Button2", "ScrollBox1", "Image1"};
    for (const char* name : names) {
        const ui::Control* c = form.Find(name);
        ASSERT_NE(c, nullptr) << name;
        QWidget* w = Widget(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->geometry(), QRect(c->left, c->top, c->width, c->height)) << name;
        EXPECT_EQ(w->font().bold(), c->bold) << name;
    }
    EXPECT_TRUE(Widget("ScrollBox1")->isAncestorOf(Widget("Image1")));
    EXPECT_FALSE(Widget("Edit4")->isEnabled());
    EXPECT_FALSE(Widget("Memo1")->isEnabled());
    EXPECT_EQ(Widget<QLineEdit>("Edit1")->text(), "60");
    EXPECT_TRUE(Widget<QTextEdit>("Memo1")->toPlainText().startsWith(QString::fromUtf8("　　【注意事項】\n")));
}

TEST_F(DesignWindow, AGrabIsNotBlank) {
    const QImage shot = window->grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 5u);
}

TEST_F(DesignWindow, ADesignShowsItsResults) {
    TempDir dir;
    Widget<QPushButton>("Button1")->click();
    QApplication::processEvents();
    EXPECT_EQ(Widget<QLineEdit>("Edit4")->text(), "0.225");
    EXPECT_TRUE(Widget<QLineEdit>("Edit5")->text().endsWith("dB"));
    EXPECT_TRUE(Widget<QTextEdit>("Memo1")->toPlainText().contains("order < 192"));
    const QImage picture = Widget("Image1")->grab().toImage();
    EXPECT_EQ(picture.pixelColor(295, 84), QColor(0, 255, 0));
}

}  // namespace
}  // namespace corvalen::test
