#include "form.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <new>
#include <string_view>
#include <unordered_map>

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
        desktop_.ErrorBox(MessageTitle(), e.message());
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

namespace {

using LineList = std::vector<std::string>;
constexpr size_t kUnpaired = size_t(-1);
// A middle block larger than this is left unpaired: its table would cost too much time and memory.
constexpr size_t kMaxPairingCells = size_t(4) << 20;

// Pairs shown[s0, s1) with edited[e0, e1) by their longest common subsequence.
void PairMiddle(const LineList& shown, const LineList& edited, size_t s0, size_t s1, size_t e0, size_t e1,
                std::vector<size_t>& partner) {
    const size_t n = s1 - s0, m = e1 - e0;
    if (n == 0 || m == 0 || n + 1 > kMaxPairingCells / (m + 1)) return;
    // The table compares numbers given to the texts, not the texts.
    std::unordered_map<std::string_view, uint32_t> ids;
    auto id = [&ids](const std::string& line) { return ids.emplace(line, uint32_t(ids.size())).first->second; };
    std::vector<uint32_t> a(n), b(m);
    for (size_t i = 0; i < n; ++i) a[i] = id(shown[s0 + i]);
    for (size_t j = 0; j < m; ++j) b[j] = id(edited[e0 + j]);
    // at(i, j): the common length of a[i..] and b[j..]; under the cell limit the shorter side, and so
    // every length, stays below 2048.
    const size_t w = m + 1;
    std::vector<uint16_t> len((n + 1) * w, 0);
    auto at = [&len, w](size_t i, size_t j) -> uint16_t& { return len[i * w + j]; };
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            at(i, j) = a[i] == b[j] ? uint16_t(at(i + 1, j + 1) + 1) : std::max(at(i + 1, j), at(i, j + 1));
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (a[i] == b[j])
            partner[e0 + j++] = s0 + i++;
        else if (at(i + 1, j) >= at(i, j + 1))
            ++i;
        else
            ++j;
    }
}

// For each edited line, the shown line it stays as, or kUnpaired: common leading lines first, then
// common trailing lines, then the longest common subsequence of the lines between.
std::vector<size_t> PairLines(const LineList& shown, const LineList& edited) {
    std::vector<size_t> partner(edited.size(), kUnpaired);
    size_t head = 0;
    for (; head < shown.size() && head < edited.size() && shown[head] == edited[head]; ++head) partner[head] = head;
    size_t shownEnd = shown.size(), editedEnd = edited.size();
    while (shownEnd > head && editedEnd > head && shown[shownEnd - 1] == edited[editedEnd - 1])
        partner[--editedEnd] = --shownEnd;
    PairMiddle(shown, edited, head, shownEnd, head, editedEnd, partner);
    return partner;
}

// A paired line reads exactly as its shown line, so it takes that line's bytes.
void TakePairedBytes(const LineList& shownSjis, const std::vector<size_t>& partner, LineList& lines) {
    for (size_t e = 0; e < lines.size(); ++e)
        if (partner[e] != kUnpaired) lines[e] = shownSjis[partner[e]];
}

// An unpaired line that reads like a shown line whose bytes the conversion would not give back
// takes those bytes, as a line the user moved or copied: shown lines left unpaired are taken first,
// in order.
void TakeCopiedBytes(const LineList& shownSjis, const LineList& shownUtf8, const LineList& editedUtf8,
                     const std::vector<size_t>& partner, LineList& lines) {
    if (std::find(partner.begin(), partner.end(), kUnpaired) == partner.end()) return;
    const LineList shownBack = SplitLines(Sjis(JoinLines(shownUtf8)));
    if (shownBack.size() != shownSjis.size()) return;
    std::vector<bool> paired(shownSjis.size(), false);
    for (size_t s : partner)
        if (s != kUnpaired) paired[s] = true;
    std::unordered_map<std::string_view, std::vector<size_t>> alike;
    for (bool takenPass : {false, true})
        for (size_t s = 0; s < shownSjis.size(); ++s)
            if (paired[s] == takenPass && shownBack[s] != shownSjis[s]) alike[shownUtf8[s]].push_back(s);
    std::unordered_map<std::string_view, size_t> used;
    for (size_t e = 0; e < lines.size(); ++e) {
        if (partner[e] != kUnpaired) continue;
        auto found = alike.find(editedUtf8[e]);
        if (found == alike.end()) continue;
        size_t& k = used[editedUtf8[e]];
        lines[e] = shownSjis[found->second[std::min(k++, found->second.size() - 1)]];
    }
}

}  // namespace

std::vector<std::string> KeepUnchangedLines(const std::vector<std::string>& shownSjis,
                                            const std::vector<std::string>& shownUtf8,
                                            const std::vector<std::string>& editedUtf8) {
    // '\n' converts to itself and nothing converts to '\n', so the lines stay aligned.
    std::vector<std::string> lines = SplitLines(Sjis(JoinLines(editedUtf8)));
    if (shownSjis.size() != shownUtf8.size() || lines.size() != editedUtf8.size()) return lines;
    const std::vector<size_t> partner = PairLines(shownUtf8, editedUtf8);
    TakePairedBytes(shownSjis, partner, lines);
    TakeCopiedBytes(shownSjis, shownUtf8, editedUtf8, partner, lines);
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
