#pragma once
// For tests: a form's real window built offscreen, with its widgets found by control name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "ui/qt/qtwindow.h"

namespace ui::qt {

// The one application of a test process, on the offscreen platform.
inline QApplication& OffscreenApp() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Creates FormT (running FormCreate), builds and shows its window.
template <class FormT>
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        OffscreenApp();
        form.Create();
        window = BuildWindow(form, desktop);
        window->show();
        QApplication::processEvents();
    }
    template <class W = QWidget>
    W* Widget(const char* name) {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    QtDesktop desktop;
    FormT form{desktop};
    std::unique_ptr<QWidget> window;
};

}  // namespace ui::qt
