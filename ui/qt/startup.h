#pragma once
// Qt's start-up without a display: one plain line and exit status 1 instead of an abort.

namespace ui::qt {

// While it stands (until Done), Qt's failure to open a display ends the program with a line on
// standard error, "<program>: could not open a display (DISPLAY=...)", and exit status 1. Every
// other Qt message goes to the handler that was there before, unchanged.
class DisplayCheck {
public:
    explicit DisplayCheck(const char* argv0);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // Puts the previous handler back and hands it any messages still held, the start having gone on.
    void Done();

private:
    bool done_ = false;
};

}  // namespace ui::qt
