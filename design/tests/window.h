#pragma once
// The design window on the scripted desktop, and a fresh working folder for the files it writes.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "design/form1.h"
#include "ui/scripted.h"
#include "ui/tempfolder.h"

namespace corvalen::test {

// A fresh temporary folder made current for the life of the object.
using TempDir = ui::TempFolder;

struct Window {
    Window() { form.Create(); }

    // Types a request and presses "design coef.".
    void Design(const std::string& order, const std::string& fpass, const std::string& fsample = "1",
                bool highPass = false) {
        form.RadioGroup1.itemIndex = highPass ? 1 : 0;
        form.Edit1.text = order;
        form.Edit2.text = fpass;
        form.Edit3.text = fsample;
        form.Click(form.Button1);
    }
    std::string Line(int i) const { return form.Memo1.lines.Get(i); }
    ui::Color Pixel(int x, int y) { return form.Image1.canvas.Pixel(x, y); }

    ui::ScriptedDesktop desk;
    TForm1 form{desk};
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// The lines of a CR LF file; a missing final line end leaves a last line with "<no CR LF>".
inline std::vector<std::string> ReadLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace corvalen::test
