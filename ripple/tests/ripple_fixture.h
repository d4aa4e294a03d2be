#pragma once
// A fresh temporary folder as the current directory, coefficient files written into it, and a
// pMirsadel window on the scripted desktop.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ripple/form1.h"
#include "ui/scripted.h"
#include "ui/tempfolder.h"

namespace mirsadel_test {

class RippleTest : public ::testing::Test {
protected:
    void SetUp() override { form.Create(); }

    // Writes the lines, each ended by CR LF, and gives the file's absolute path.
    std::string WriteFile(const std::string& name, const std::vector<std::string>& lines) {
        std::string path = folder.Path(name);
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines) out << line << "\r\n";
        return path;
    }

    // Presses "draw" and picks the file.
    void Draw(const std::string& path) {
        desk.QueueFile(path);
        form.Click(form.Button1);
    }

    ui::TempFolder folder;
    const std::string dir = folder.path();
    ui::ScriptedDesktop desk;
    mirsadel::TForm1 form{desk};
};

// A header with every line as a good writer gives it, followed by the coefficient lines.
inline std::vector<std::string> EfcLines(const std::vector<std::string>& coefs, const std::string& order = "order : 58",
                                         const std::string& phase = "phase : zero") {
    std::vector<std::string> lines = {"name : ", order, phase, "character : LPF",
                                      "coefNum : " + std::to_string(coefs.size()), "coefType : real", "coefList :"};
    lines.insert(lines.end(), coefs.begin(), coefs.end());
    lines.push_back("end;");
    lines.push_back("");
    lines.push_back("");
    return lines;
}

}  // namespace mirsadel_test
