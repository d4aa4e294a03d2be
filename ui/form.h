#pragma once
// Our window layer: a model of one form and its controls in plain C++ objects.
// Handlers read and write only the model; a Desktop (Qt or scripted) shows it.
// Texts in the model are Shift-JIS byte strings.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "canvas.h"

namespace ui {

class Form;
class Desktop;

enum class Kind { Button, Label, Edit, CheckBox, RadioGroup, GroupBox, Memo, StatusBar, ScrollBox, Image };

struct Control {
    explicit Control(Kind k) : kind(k) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const Kind kind;
    std::string name;
    Control* parent = nullptr;  // group box or scroll box; places are relative to it
    int left = 0, top = 0, width = 0, height = 0;
    int tabOrder = -1;  // -1: takes no focus
    bool enabled = true;
    bool bold = false;
};

struct Button : Control {
    Button() : Control(Kind::Button) {}
    std::string caption;
    std::function<void()> onClick;
};

struct Label : Control {
    Label() : Control(Kind::Label) {}
    std::string caption;
};

struct Edit : Control {
    Edit() : Control(Kind::Edit) {}
    std::string text;
    Color color = clWhite;  // background
};

struct CheckBox : Control {
    CheckBox() : Control(Kind::CheckBox) {}
    std::string caption;
    bool checked = false;
};

struct RadioGroup : Control {
    RadioGroup() : Control(Kind::RadioGroup) {}
    std::string caption;
    std::vector<std::string> items;
    int itemIndex = -1;
    std::function<void()> onClick;  // runs when the user changes the selection
};

struct GroupBox : Control {
    GroupBox() : Control(Kind::GroupBox) {}
    std::string caption;
};

struct ScrollBox : Control {
    ScrollBox() : Control(Kind::ScrollBox) {}
};

// Indexed lines: a read past the last line gives "", a write past it does nothing.
// Only the user (SetAll, from typing) changes the count.
class Lines {
public:
    std::string Get(int i) const { return i >= 0 && i < Count() ? lines_[size_t(i)] : std::string(); }
    void Set(int i, const std::string& text) {
        if (i >= 0 && i < Count()) lines_[size_t(i)] = text;
    }
    int Count() const { return int(lines_.size()); }
    const std::vector<std::string>& All() const { return lines_; }
    void SetAll(std::vector<std::string> lines) { lines_ = std::move(lines); }

private:
    std::vector<std::string> lines_;
};

struct Memo : Control {
    Memo() : Control(Kind::Memo) {}
    Lines lines;
    bool readOnly = false;
    bool verticalScrollBar = false;
};

struct StatusBar : Control {
    StatusBar() : Control(Kind::StatusBar) {}
    std::string simpleText;
    Color color = clBtnFace;
};

// A picture area; its bitmap is created white, at the area's size of that moment, on first drawing.
struct Image : Control {
    Image() : Control(Kind::Image) {}
    Canvas canvas{[this]() -> Bitmap& { return EnsurePicture(); }};
    std::optional<Bitmap> picture;
    Bitmap& EnsurePicture() {
        if (!picture) picture.emplace(width, height);
        return *picture;
    }
};

// Open and save dialogs. Execute asks the desktop; a chosen name without an extension gets
// defaultExt (an open dialog keeps the name as it is when only a file of exactly that name
// exists), a relative name is made absolute against the current directory, fileName is set, and
// the file's folder becomes the current directory.
struct FileDialog {
    explicit FileDialog(bool isSave) : save(isSave) {}
    const bool save;
    std::string name;
    std::string initialDir;
    std::string fileName;  // proposed name before Execute, chosen path after
    std::string defaultExt;
    Form* owner = nullptr;
    bool Execute();
};

struct OpenDialog : FileDialog {
    OpenDialog() : FileDialog(false) {}
};
struct SaveDialog : FileDialog {
    SaveDialog() : FileDialog(true) {}
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Shows a file dialog; nullopt when cancelled. The answer is the name as typed or chosen.
    virtual std::optional<std::string> ChooseFile(const FileDialog& dialog) = 0;
    // Modal message box with one OK button.
    virtual void MessageBox(const std::string& title, const std::string& text) = 0;
    // The application's general error box.
    virtual void ErrorBox(const std::string& title, const std::string& text) = 0;
};

class Form {
public:
    // programName is the executable's name, e.g. "pCorvalen".
    Form(Desktop& desktop, std::string programName);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string caption;
    int left = 0, top = 0, width = 0, height = 0;  // outer size
    Color color = clBtnFace;
    std::string fontName;  // Shift-JIS face name
    int fontHeight = 12;

    // Registers a control with its place; controls are shown in registration order.
    void Place(Control& c, const std::string& name, int left, int top, int width, int height,
               int tabOrder = -1, Control* parent = nullptr);
    void Place(FileDialog& d, const std::string& name);
    const std::vector<Control*>& controls() const { return controls_; }
    Control* Find(const std::string& name) const;

    // Runs a handler through the dispatcher: clears the floating-point flags, and shows an
    // error that abandons the action (AppError) in the general error box.
    void Run(const std::function<void()>& handler);
    void Create() { Run([this] { FormCreate(); }); }
    void Click(Button& b) { Run(b.onClick); }
    // What the user does to a radio group: select, then the handler.
    void Select(RadioGroup& g, int index);

    // Modal message box titled with the program's name.
    void ShowMessage(const std::string& sjisText);
    // pCorvalen -> "pcorvalen": the first letter kept, every letter after it in lower case.
    std::string MessageTitle() const;
    const std::string& programName() const { return programName_; }
    Desktop& desktop() { return desktop_; }

protected:
    virtual void FormCreate() {}

private:
    Desktop& desktop_;
    std::string programName_;
    std::vector<Control*> controls_;
};

// The process's current directory, with no trailing slash (except "/").
std::string CurrentDir();

// A memo's lines as the one text a text pane shows (every line ends with LF), and back: the
// text after the last line end is a line only when it is not empty.
std::string JoinLines(const std::vector<std::string>& lines);
std::vector<std::string> SplitLines(const std::string& text);

// The Shift-JIS lines of a pane the user has edited. shownSjis are the lines last put into the
// pane and shownUtf8 the same lines as the pane gave them back; edited are its lines now. A line
// diff pairs shown and edited lines in order, along the fewest line changes (replacing, deleting
// or inserting a line costs one; of equal ways, the one that keeps lines nearest their places); a
// paired line keeps its own bytes, also bytes that do not survive the trip through Unicode. An
// unpaired line is converted, unless it reads like such a shown line, as a copy does: then it
// takes that line's bytes.
std::vector<std::string> KeepUnchangedLines(const std::vector<std::string>& shownSjis,
                                            const std::vector<std::string>& shownUtf8,
                                            const std::vector<std::string>& editedUtf8);

}  // namespace ui
