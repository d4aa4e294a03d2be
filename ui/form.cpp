#include "form.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <map>
#include <new>

#include "../textutil/errors.h"
#include "../textutil/sjis.h"

namespace ui {

Form::Form(Desktop& desktop, std::string programName)
    : fontName(Sjis("ＭＳ Ｐゴシック")), desktop_(desktop), programName_(std::move(programName)) {}

void Form::Place(Control& c, const std::string& name, int l, int t, int w, int h, int tab, Control* parent) {
    c.name = name;
    c.left = l;
    c.top = t;
    c.width = w;
    c.height = h;
    c.tabOrder = tab;
    c.parent = parent;
    controls_.push_back(&c);
}

void Form::Place(FileDialog& d, const std::string& name) {
    d.name = name;
    d.owner = this;
}

Control* Form::Find(const std::string& name) const {
    for (Control* c : controls_)
        if (c->name == name) return c;
    return nullptr;
}

void Form::Run(const std::function<void()>& handler) {
    if (!handler) return;
    try {
        ClearFpFlags();
        handler();
    } catch (const AppError& e) {
        desktop_.ErrorBox(MessageTitle(), e.what());
    } catch (const std::bad_alloc&) {
        desktop_.ErrorBox(MessageTitle(), Sjis("メモリが不足しています"));
    }
}

void Form::Select(RadioGroup& g, int index) {
    if (g.itemIndex == index) return;
    g.itemIndex = index;
    Run(g.onClick);
}

void Form::ShowMessage(const std::string& sjisText) {
    FpFlagsKept keep;
    desktop_.MessageBox(MessageTitle(), sjisText);
}

std::string Form::MessageTitle() const {
    std::string t = programName_;
    for (size_t i = 1; i < t.size(); ++i) t[i] = char(std::tolower(static_cast<unsigned char>(t[i])));
    return t;
}

std::string CurrentDir() {
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return ".";
    return buf;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> KeepUnchangedLines(const std::vector<std::string>& shownSjis,
                                            const std::vector<std::string>& shownUtf8,
                                            const std::vector<std::string>& editedUtf8) {
    // '\n' converts to itself and nothing converts to '\n', so the lines stay aligned.
    std::vector<std::string> lines = SplitLines(Sjis(JoinLines(editedUtf8)));
    if (shownSjis.size() != shownUtf8.size()) return lines;
    // Only the shown lines whose bytes the conversion would not give back need keeping.
    const std::vector<std::string> shownBack = SplitLines(Sjis(JoinLines(shownUtf8)));
    // Lines that read alike are matched in order; a copy the user made takes the bytes it copied.
    std::map<std::string, std::vector<const std::string*>> kept;
    for (size_t i = 0; i < shownSjis.size(); ++i)
        if (shownBack[i] != shownSjis[i]) kept[shownUtf8[i]].push_back(&shownSjis[i]);
    if (kept.empty()) return lines;
    std::map<std::string, size_t> seen;
    for (size_t i = 0; i < lines.size() && i < editedUtf8.size(); ++i) {
        auto found = kept.find(editedUtf8[i]);
        if (found == kept.end()) continue;
        size_t& k = seen[editedUtf8[i]];
        lines[i] = *found->second[std::min(k, found->second.size() - 1)];
        ++k;
    }
    return lines;
}

namespace {

bool HasExtension(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t base = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    return dot != std::string::npos && dot > base;
}

bool IsExistingFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// A name without extension gets the default one; an open dialog takes the file of exactly the
// chosen name instead when only that one exists.
std::string WithDefaultExt(const std::string& path, const std::string& ext, bool save) {
    if (ext.empty() || HasExtension(path)) return path;
    std::string extended = path + "." + ext;
    if (!save && !IsExistingFile(extended) && IsExistingFile(path)) return path;
    return extended;
}

}  // namespace

bool FileDialog::Execute() {
    if (!owner) return false;
    std::optional<std::string> answer;
    {
        FpFlagsKept keep;
        answer = owner->desktop().ChooseFile(*this);
    }
    if (!answer || answer->empty()) return false;
    std::string path = *answer;
    if (path[0] != '/') {
        std::string base = initialDir.empty() ? CurrentDir() : initialDir;
        path = base == "/" ? "/" + path : base + "/" + path;
    }
    path = WithDefaultExt(path, defaultExt, save);
    fileName = path;
    size_t slash = path.find_last_of('/');
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    if (chdir(folder.c_str()) != 0) {
        // A folder that does not exist: the open that follows reports it.
    }
    return true;
}

}  // namespace ui
