#pragma once
// The Qt desktop and the window it builds from a form; tests build a window without the loop.
// Link ui_qt, include <QWidget> to own the window, and create a QApplication first.
#include <memory>
#include <optional>
#include <string>

#include "../form.h"

class QWidget;

namespace ui::qt {

class FormWindow;

// Real dialogs and boxes. Before showing one it brings the window up to date with the model,
// so that what a handler has written so far is on screen behind the box.
class QtDesktop : public Desktop {
public:
    std::optional<std::string> ChooseFile(const FileDialog& dialog) override;
    void MessageBox(const std::string& title, const std::string& text) override;
    void ErrorBox(const std::string& title, const std::string& text) override;

    void Attach(FormWindow* window) { window_ = window; }
    FormWindow* window() const { return window_; }

private:
    QWidget* Parent() const;
    FormWindow* window_ = nullptr;
};

// Builds the form's window: one widget per control, objectName = the control's name, at the
// control's place and size; the form's outer size less a classic frame (8 x 27) as its client
// size. Clicks and radio changes run through the form's dispatcher with the state pulled from
// the widgets before and pushed back after. The form must outlive the window.
std::unique_ptr<QWidget> BuildWindow(Form& form, QtDesktop& desktop);

// Once the window system has framed the shown window, sizes it so that its frame matches the
// form's outer size; keeps the classic estimate when no frame is known.
void FitOuterSize(QWidget& window, const Form& form);

}  // namespace ui::qt
