#include "form.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>
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
// A search for the fewest changes gives up beyond about this many cells of its diagonal table, some
// tenths of a second: the lines of so sweeping an edit are then paired only where they kept their place.
constexpr long long kMaxSearchCells = 1LL << 28;

// A pane's lines before and after the user's edits as numbers, equal texts getting equal numbers, and
// for each edited line the shown line it stays as.
struct LineDiff {
    std::vector<uint32_t> shown, edited;
    std::vector<size_t> partner;
};

// Shown lines [s0, s1) against edited lines [e0, e1).
struct Box {
    int s0, s1, e0, e1;
};

// A point that a path of the fewest changes passes, and the changes before and after it.
struct Middle {
    int s, e;
    int before, after;
};

// Pairs the lines that the box's two sides share at their start.
void PairHead(LineDiff& d, Box& box) {
    while (box.s0 < box.s1 && box.e0 < box.e1 && d.shown[size_t(box.s0)] == d.edited[size_t(box.e0)])
        d.partner[size_t(box.e0++)] = size_t(box.s0++);
}

// Pairs the lines that read alike at the same place in the box.
void PairInPlace(LineDiff& d, const Box& box) {
    for (int s = box.s0, e = box.e0; s < box.s1 && e < box.e1; ++s, ++e)
        if (d.shown[size_t(s)] == d.edited[size_t(e)]) d.partner[size_t(e)] = size_t(s);
}

// Searches the box from both corners at once, keeping for each diagonal k = e - s the furthest point
// reached with c changes (a replaced, deleted or inserted line costs one; alike lines cost nothing);
// where the two searches meet lies a path of the fewest changes. Only diagonals that a path of at
// most `bound` changes can use are searched: nothing when the fewest changes exceed it.
std::optional<Middle> FindMiddle(const LineDiff& d, const Box& box, int bound) {
    const int n = box.s1 - box.s0, m = box.e1 - box.e0, delta = m - n;
    const uint32_t* shown = d.shown.data() + box.s0;
    const uint32_t* edited = d.edited.data() + box.e0;
    constexpr int kNone = -1, kNoneBack = INT_MAX;
    // Rows by diagonal, k + n: forward the furthest row from the top left, backward the nearest
    // row from which the bottom right is reached.
    std::vector<int> fwd(size_t(n + m + 1), kNone), back(size_t(n + m + 1), kNoneBack);
    auto slideFwd = [&](int k, int s) {
        while (s < n && s + k < m && shown[s] == edited[s + k]) ++s;
        return s;
    };
    auto slideBack = [&](int k, int s) {
        while (s > 0 && s + k > 0 && shown[s - 1] == edited[s + k - 1]) --s;
        return s;
    };
    // One more change forward on the diagonals lo to hi, in place: `left` keeps diagonal k - 1's
    // previous row, diagonal k + 1 still holds its own.
    auto stepFwd = [&](int lo, int hi) {
        int left = lo > -n ? fwd[size_t(lo - 1 + n)] : kNone;
        for (int k = lo; k <= hi; ++k) {
            const int here = fwd[size_t(k + n)], right = k < m ? fwd[size_t(k + 1 + n)] : kNone;
            int s = here;
            if (here != kNone && here < n && here + k < m) s = here + 1;     // a line replaced
            if (right != kNone && right < n) s = std::max(s, right + 1);      // a shown line deleted
            if (left != kNone && left + k <= m) s = std::max(s, left);        // an edited line inserted
            fwd[size_t(k + n)] = s == kNone ? kNone : slideFwd(k, s);
            left = here;
        }
    };
    auto stepBack = [&](int lo, int hi) {
        int left = lo > -n ? back[size_t(lo - 1 + n)] : kNoneBack;
        for (int k = lo; k <= hi; ++k) {
            const int here = back[size_t(k + n)], right = k < m ? back[size_t(k + 1 + n)] : kNoneBack;
            int s = here;
            if (here != kNoneBack && here > 0 && here + k > 0) s = here - 1;  // a line replaced
            if (left != kNoneBack && left > 0) s = std::min(s, left - 1);     // a shown line deleted
            if (right != kNoneBack && right + k >= 0) s = std::min(s, right); // an edited line inserted
            back[size_t(k + n)] = s == kNoneBack ? kNoneBack : slideBack(k, s);
            left = here;
        }
    };
    fwd[size_t(n)] = slideFwd(0, 0);
    back[size_t(delta + n)] = slideBack(delta, n);
    int flo = 0, fhi = 0, blo = delta, bhi = delta;
    const int shift = box.e0 - box.s0;  // from the box's diagonals to the panes' own
    for (int total = 0, ahead = 0, behind = 0; total <= bound; ++total) {
        if (total > 0 && total % 2 == 1) {
            ahead = (total + 1) / 2;
            flo = std::max({-ahead, -n, delta - (bound - ahead)});
            fhi = std::min({ahead, m, delta + (bound - ahead)});
            stepFwd(flo, fhi);
        } else if (total > 0) {
            behind = total / 2;
            blo = std::max({delta - behind, -n, behind - bound});
            bhi = std::min({delta + behind, m, bound - behind});
            stepBack(blo, bhi);
        }
        // Where several diagonals meet, the one nearest the lines' own places.
        std::optional<int> best;
        for (int k = std::max(flo, blo); k <= std::min(fhi, bhi); ++k)
            if (fwd[size_t(k + n)] != kNone && back[size_t(k + n)] != kNoneBack &&
                fwd[size_t(k + n)] >= back[size_t(k + n)] && (!best || std::abs(k + shift) < std::abs(*best + shift)))
                best = k;
        if (best) {
            const int s = back[size_t(*best + n)];
            return Middle{box.s0 + s, box.e0 + s + *best, ahead, behind};
        }
    }
    return std::nullopt;
}

// Pairs the lines of the box along a path of the fewest changes; `changes` is their number where known.
void Align(LineDiff& d, Box box, int changes) {
    PairHead(d, box);
    const int n = box.s1 - box.s0, m = box.e1 - box.e0;
    if (n == 0 || m == 0 || (n == 1 && m == 1)) return;  // deleted, inserted or replaced lines only
    std::optional<Middle> middle;
    if (changes >= 0) middle = FindMiddle(d, box, changes);
    for (long long excess = 1; !middle; excess *= 2) {
        const long long bound = std::abs(m - n) + excess;
        if (bound * (excess + 1) > kMaxSearchCells) return PairInPlace(d, box);
        middle = FindMiddle(d, box, int(bound));
    }
    Align(d, {box.s0, middle->s, box.e0, middle->e}, middle->before);
    Align(d, {middle->s, box.s1, middle->e, box.e1}, middle->after);
}

// For each edited line, the shown line it stays as, or kUnpaired: the lines are paired along a path
// of the fewest line changes, where replacing a line costs one change as deleting or inserting one does.
std::vector<size_t> PairLines(const LineList& shown, const LineList& edited) {
    LineDiff d;
    std::unordered_map<std::string_view, uint32_t> ids;
    auto id = [&ids](const std::string& line) { return ids.emplace(line, uint32_t(ids.size())).first->second; };
    d.shown.reserve(shown.size());
    d.edited.reserve(edited.size());
    for (const std::string& line : shown) d.shown.push_back(id(line));
    for (const std::string& line : edited) d.edited.push_back(id(line));
    d.partner.assign(edited.size(), kUnpaired);
    Align(d, {0, int(shown.size()), 0, int(edited.size())}, -1);
    return d.partner;
}

// Lines converted in one go: '\n' converts to itself and nothing converts to '\n', so they stay aligned.
LineList ConvertLines(const LineList& utf8) { return SplitLines(Sjis(JoinLines(utf8))); }

// A paired line reads exactly as its shown line, so it takes that line's bytes; the others are converted.
LineList TakePairedBytes(const LineList& shownSjis, const LineList& editedUtf8, const std::vector<size_t>& partner) {
    LineList unpaired;
    for (size_t e = 0; e < editedUtf8.size(); ++e)
        if (partner[e] == kUnpaired) unpaired.push_back(editedUtf8[e]);
    const LineList converted = ConvertLines(unpaired);
    if (converted.size() != unpaired.size()) return ConvertLines(editedUtf8);
    LineList lines(editedUtf8.size());
    for (size_t e = 0, next = 0; e < lines.size(); ++e)
        lines[e] = partner[e] != kUnpaired ? shownSjis[partner[e]] : converted[next++];
    return lines;
}

// An unpaired line that reads like a shown line whose bytes the conversion would not give back
// takes those bytes, as a line the user moved or copied: shown lines left unpaired are taken first,
// in order.
void TakeCopiedBytes(const LineList& shownSjis, const LineList& shownUtf8, const LineList& editedUtf8,
                     const std::vector<size_t>& partner, LineList& lines) {
    // By the text of an unpaired line: its conversion, and the shown lines that read so.
    std::unordered_map<std::string_view, std::pair<std::string, std::vector<size_t>>> alike;
    for (size_t e = 0; e < lines.size(); ++e)
        if (partner[e] == kUnpaired) alike.try_emplace(editedUtf8[e], lines[e], std::vector<size_t>());
    if (alike.empty()) return;
    std::vector<bool> paired(shownSjis.size(), false);
    for (size_t s : partner)
        if (s != kUnpaired) paired[s] = true;
    for (bool takenPass : {false, true})
        for (size_t s = 0; s < shownSjis.size(); ++s) {
            auto found = paired[s] == takenPass ? alike.find(shownUtf8[s]) : alike.end();
            if (found != alike.end() && found->second.first != shownSjis[s]) found->second.second.push_back(s);
        }
    std::unordered_map<std::string_view, size_t> used;
    for (size_t e = 0; e < lines.size(); ++e) {
        if (partner[e] != kUnpaired) continue;
        const std::vector<size_t>& from = alike.at(editedUtf8[e]).second;
        if (from.empty()) continue;
        size_t& k = used[editedUtf8[e]];
        lines[e] = shownSjis[from[std::min(k++, from.size() - 1)]];
    }
}

}  // namespace

std::vector<std::string> KeepUnchangedLines(const std::vector<std::string>& shownSjis,
                                            const std::vector<std::string>& shownUtf8,
                                            const std::vector<std::string>& editedUtf8) {
    if (shownSjis.size() != shownUtf8.size()) return ConvertLines(editedUtf8);
    const std::vector<size_t> partner = PairLines(shownUtf8, editedUtf8);
    std::vector<std::string> lines = TakePairedBytes(shownSjis, editedUtf8, partner);
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
