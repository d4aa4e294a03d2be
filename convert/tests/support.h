#pragma once
// Shared fixtures of the pTobrenth tests: a scratch folder, coefficient files, a driven window.
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "convert/form1.h"
#include "textutil/sjis.h"
#include "ui/scripted.h"
#include "ui/tempfolder.h"

namespace tobrenth_test {

using Lines = std::vector<std::string>;

// A fresh folder made current for the test; the previous one is restored afterwards.
using ScratchDir = ui::TempFolder;

inline std::string Crlf(const Lines& lines) {
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\r\n";
    return bytes;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

inline Lines Header(const std::string& order, const std::string& character, const std::string& count) {
    return {"name : ",         "order : " + order, "phase : zero", "character : " + character, "coefNum : " + count,
            "coefType : real", "coefList :"};
}

inline Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Lines With(Lines file, size_t line, const std::string& text) {
    file[line] = text;
    return file;
}

// A small Nyquist low-pass: A(0) = 1, A(pi/2) = 0.5, A(pi) = 0.
inline const Lines kNyquistCoefs = {" 0.500000000000000000", " 0.312500000000000000", " 0.000000000000000000",
                                    "-0.062500000000000000"};

// The file part that a conversion writes into the converted pane, lines 0 to n + 7.
inline Lines Pane(const std::string& order, const std::string& character, const Lines& coefs) {
    return Concat(Concat(Header(order, character, std::to_string(coefs.size())), coefs), {"end;"});
}

inline Lines NyquistFile(const std::string& character = "LPF") {
    return Concat(Pane("6", character, kNyquistCoefs), {"", ""});
}

// What the design program writes for order 58: 30 coefficients, then its design-data block.
inline const Lines kDesignCoefs = {
    " 0.500000000000000000", " 0.317507768147349880", " 0.000000000000000000",
    "-0.103714485536375950", " 0.000000000000000000", " 0.059738596897251830",
    " 0.000000000000000000", "-0.040100071022072410", " 0.000000000000000000",
    " 0.028661372516422420", " 0.000000000000000000", "-0.021040250367163190",
    " 0.000000000000000000", " 0.015563869076451380", " 0.000000000000000000",
    "-0.011459155902616460", " 0.000000000000000000", " 0.008320257593213290",
    " 0.000000000000000000", "-0.005912206475773620", " 0.000000000000000000",
    " 0.004086777353842480", " 0.000000000000000000", "-0.002742355648869000",
    " 0.000000000000000000", " 0.001803267703689390", " 0.000000000000000000",
    "-0.001208563721087630", " 0.000000000000000000", " 0.000905755480384280",
};

inline Lines DesignFile() {
    return Concat(Pane("58", "LPF", kDesignCoefs),
                  {"", "", "$$$ design data $$$", "num := 29;", "//passNum := 15;", "//fpass :=    0.225;",
                   "//fsample :=    1.000;", "{fp  =   0.22500(fs) }", "{ripple      = 1.234568E-0004}",
                   "{stopGain  = -78.170(dB) }", "{passRipple =   0.00107(dB) }"});
}

// The window after start-up, driven through the scripted desktop.
struct Program {
    ui::ScriptedDesktop desk;
    tobrenth::TForm1 f{desk};
    Program() { f.Create(); }

    void Load(const std::string& path) {
        desk.QueueFile(path);
        f.Click(f.Button1);
    }
    // Writes the lines as a file and loads it.
    void LoadLines(const Lines& lines, const std::string& path = "source.efc") {
        WriteFile(path, Crlf(lines));
        Load(path);
    }
    void Save(const std::string& path) {
        desk.QueueFile(path);
        f.Click(f.Button2);
    }
    static Lines Get(const ui::Memo& m, int from, int to) {
        Lines out;
        for (int i = from; i <= to; ++i) out.push_back(m.lines.Get(i));
        return out;
    }
    static bool EmptyFrom(const ui::Memo& m, int from) {
        for (int i = from; i < m.lines.Count(); ++i)
            if (!m.lines.Get(i).empty()) return false;
        return true;
    }
};

inline std::string U(const char* utf8) { return Sjis(utf8); }

}  // namespace tobrenth_test
