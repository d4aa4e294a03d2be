// The six conversions and copy back: exact pane lines, refusals and chains.
#include <gtest/gtest.h>

#include "support.h"

namespace tobrenth_test {
namespace {

const char* const kUnusable = "このソースコードは使えません。";
const char* const kGain = "2nd pass gainが実数でありません。";
const char* const kNotSource = "ＬＰＦ／ＨＰＦ／ＢＰＦ／ＢＥＦ以外の係数はソースファイルとして使えません。";
const char* const kNoCoefs = "係数が1つもないので変換できません。";
const char* const kTooMany = "係数が多すぎてこのプログラムでは扱えません。";
const char* const kConvertedTooShort = "CONVERTED FILE欄の行数が足りないので変換できません。";
const char* const kSourceTooShort = "SOURCE FILE欄の行数が足りないのでコピーできません。";
const char* const kOrder = "orderが大きすぎてdoubleMirrorできません。";

const std::string kZero = " 0.000000000000000000";

enum Which { Invert, Reverse, Notch, Shelving, NotchedShelving, DoubleMirror, CopyBack };

ui::Button& ButtonOf(tobrenth::TForm1& f, Which w) {
    ui::Button* b[] = {&f.Button3, &f.Button9, &f.Button4, &f.Button5, &f.Button6, &f.Button7, &f.Button8};
    return *b[w];
}

bool Blank(const ui::Image& im) { return *im.picture == ui::Bitmap(329, 225); }

struct Conversion {
    const char* what;
    Which which;
    std::string gain;
    Lines source;  // the file loaded as the source
    Lines result;  // converted pane lines 0 to n + 7; every later line must be empty
};

// Coefficient lines as a user may type them: the lines that a rule leaves alone keep their text.
const Lines kLoose = {"0.5", " 0.3125", "  0 ", "-0.0625"};

Lines MirroredDesign() {
    Lines coefs = {kDesignCoefs[0]};
    for (size_t k = 1; k < kDesignCoefs.size(); ++k) {
        coefs.push_back(kZero);
        coefs.push_back(kDesignCoefs[k]);
    }
    return Pane("116", "BEF", coefs);
}

std::vector<Conversion> Conversions() {
    const Lines nyq = NyquistFile();
    const Lines loose = Concat(Pane("6", "LPF", kLoose), {"", ""});
    return {
        {"invert", Invert, "", nyq,
         Pane("6", "HPF", {" 0.500000000000000000", "-0.312500000000000000", kZero, " 0.062500000000000000"})},
        {"invert rewrites every line", Invert, "", loose,
         Pane("6", "HPF", {" 0.500000000000000000", "-0.312500000000000000", kZero, " 0.062500000000000000"})},
        {"invert of a BEF", Invert, "", NyquistFile("BEF"),
         Pane("6", "BPF", {" 0.500000000000000000", "-0.312500000000000000", kZero, " 0.062500000000000000"})},
        {"freq reverse", Reverse, "", nyq,
         Pane("6", "HPF", {" 0.500000000000000000", "-0.312500000000000000", kZero, " 0.062500000000000000"})},
        {"freq reverse keeps the even lines", Reverse, "", loose,
         Pane("6", "HPF", {"0.5", "-0.312500000000000000", "  0 ", " 0.062500000000000000"})},
        {"freq reverse of a BPF", Reverse, "", NyquistFile("BPF"),
         Pane("6", "BEF", {" 0.500000000000000000", "-0.312500000000000000", kZero, " 0.062500000000000000"})},
        {"notch", Notch, "", nyq,
         Pane("6", "NOTCH", {kZero, " 0.625000000000000000", kZero, "-0.125000000000000000"})},
        {"shelving at -6 dB", Shelving, "-6", nyq,
         Pane("6", "SLPF", {" 0.750593616813636143", " 0.155878989491477411", kZero, "-0.031175797898295482"})},
        {"shelving, blanks around the gain", Shelving, " -6 ", nyq,
         Pane("6", "SLPF", {" 0.750593616813636143", " 0.155878989491477411", kZero, "-0.031175797898295482"})},
        {"notched shelving at -6 dB", NotchedShelving, "-6", nyq,
         Pane("6", "NSLPF", {" 0.249406383186363857", " 0.469121010508522589", kZero, "-0.093824202101704518"})},
        {"shelving at 0 dB", Shelving, "0", nyq, Pane("6", "SLPF", {" 1.000000000000000000", kZero, kZero, kZero})},
        {"notched shelving at 0 dB", NotchedShelving, "0", NyquistFile("HPF"),
         Pane("6", "NSHPF", {kZero, " 0.625000000000000000", kZero, "-0.125000000000000000"})},
        {"double mirror", DoubleMirror, "", nyq,
         Pane("12", "BEF",
              {kNyquistCoefs[0], kZero, " 0.312500000000000000", kZero, kZero, kZero, "-0.062500000000000000"})},
        {"double mirror keeps the centre line", DoubleMirror, "", loose,
         Pane("12", "BEF", {"0.5", kZero, " 0.312500000000000000", kZero, kZero, kZero, "-0.062500000000000000"})},
        {"double mirror of the design file", DoubleMirror, "", DesignFile(), MirroredDesign()},
        {"double mirror of one coefficient", DoubleMirror, "",
         Concat(Pane("2", "HPF", {" 0.500000000000000000"}), {"", ""}),
         Pane("4", "BPF", {" 0.500000000000000000"})},
    };
}

TEST(Conversion, ExactLinesOfEachResult) {
    for (const Conversion& c : Conversions()) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        Program p;
        p.LoadLines(c.source);
        if (!c.gain.empty()) p.f.Edit1.text = c.gain;
        p.f.Click(ButtonOf(p.f, c.which));
        EXPECT_TRUE(p.desk.messages.empty());
        EXPECT_TRUE(p.desk.errors.empty());
        int last = int(c.result.size()) - 1;
        EXPECT_EQ(Program::Get(p.f.Memo2, 0, last), c.result);
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, last + 1));
        EXPECT_FALSE(Blank(p.f.Image2));
    }
}

TEST(Conversion, DoubleMirrorOfTheDesignFileEndsInLine66) {
    ScratchDir dir;
    Program p;
    p.LoadLines(DesignFile());
    p.f.Click(p.f.Button7);
    EXPECT_EQ(p.f.Memo2.lines.Get(1), "order : 116");
    EXPECT_EQ(p.f.Memo2.lines.Get(4), "coefNum : 59");
    EXPECT_EQ(p.f.Memo2.lines.Get(66), "end;");
}

TEST(Conversion, NameIsDroppedAndOldConvertedLinesVanish) {
    ScratchDir dir;
    Program p;
    p.f.Memo2.lines.SetAll(Lines(2200, "old"));
    p.LoadLines(With(NyquistFile(), 0, "name : lowpass"));
    p.f.Click(p.f.Button4);
    EXPECT_EQ(p.f.Memo2.lines.Get(0), "name : ");
    EXPECT_EQ(p.f.Memo2.lines.Get(11), "end;");
    for (int i = 12; i <= 2100; ++i) ASSERT_EQ(p.f.Memo2.lines.Get(i), "") << i;
    EXPECT_EQ(p.f.Memo2.lines.Get(2101), "old");  // typed past the cleared range
    EXPECT_EQ(p.f.Memo1.lines.Get(0), "name : lowpass");
}

TEST(Conversion, GainTextsThatAreRefused) {
    for (const char* gain : {"+6", "1e1", ".5", "5.", "6dB", ""}) {
        for (Which w : {Shelving, NotchedShelving}) {
            SCOPED_TRACE(gain);
            ScratchDir dir;
            Program p;
            p.LoadLines(NyquistFile());
            p.f.Edit1.text = gain;
            p.f.Click(ButtonOf(p.f, w));
            EXPECT_EQ(p.desk.messages, Lines{U(kGain)});
            EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
            EXPECT_TRUE(Blank(p.f.Image2));
        }
    }
}

TEST(Conversion, BadSourceIsReportedBeforeABadGain) {
    Program p;
    p.f.Edit1.text = "x";
    p.f.Click(p.f.Button5);
    EXPECT_EQ(p.desk.messages, Lines{U(kUnusable)});
}

TEST(Conversion, TabBesideTheGainEndsTheActionBeforeAnyWrite) {
    for (const char* gain : {"-6\t", "\t-6"}) {
        ScratchDir dir;
        Program p;
        p.LoadLines(NyquistFile());
        p.f.Edit1.text = gain;
        p.f.Click(p.f.Button5);
        EXPECT_EQ(p.desk.errors, Lines{U("'") + gain + U("' は浮動小数点数ではありません")});
        EXPECT_TRUE(p.desk.messages.empty());
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
    }
}

TEST(Conversion, TabBesideACoefficientEndsTheActionAfterTheCopy) {
    Program p;
    Lines source = Pane("6", "LPF", kNyquistCoefs);
    source[9] = "\t0.000000000000000000";
    p.f.Memo1.lines.SetAll(Concat(source, Lines(1089)));
    p.f.Click(p.f.Button3);
    EXPECT_EQ(p.desk.errors, Lines{U("'\t0.000000000000000000' は浮動小数点数ではありません")});
    Lines written = Pane("6", "HPF", {" 0.500000000000000000", "-0.312500000000000000", source[9], "-0.062500000000000000"});
    EXPECT_EQ(Program::Get(p.f.Memo2, 0, 11), written);
    EXPECT_TRUE(Blank(p.f.Image2));
}

TEST(Conversion, EmptyListIsRefusedByEveryConversion) {
    for (Which w : {Invert, Reverse, Notch, Shelving, NotchedShelving, DoubleMirror}) {
        ScratchDir dir;
        Program p;
        p.LoadLines(Concat(Header("0", "LPF", "0"), {"end;", "", ""}));
        p.f.Click(ButtonOf(p.f, w));
        EXPECT_EQ(p.desk.messages, Lines{U(kNoCoefs)}) << w;
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
    }
}

TEST(Conversion, PartnerNeedsOneOfTheFourCharacters) {
    for (const char* character : {"NOTCH", "lpf"}) {
        for (Which w : {Invert, Reverse}) {
            Program p;
            p.f.Memo1.lines.SetAll(Concat(Pane("6", character, kNyquistCoefs), Lines(1089)));
            p.f.Click(ButtonOf(p.f, w));
            EXPECT_EQ(p.desk.messages, Lines{U(kNotSource)});
            EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
        }
    }
}

TEST(Conversion, OtherCharactersPassThroughTheRest) {
    const std::pair<Which, const char*> cases[] = {
        {Notch, "character : NOTCH"}, {Shelving, "character : SNOTCH"},
        {NotchedShelving, "character : NSNOTCH"}, {DoubleMirror, "character : NOTCH"}};
    for (auto [w, line] : cases) {
        Program p;
        p.f.Memo1.lines.SetAll(Concat(Pane("6", "NOTCH", kNyquistCoefs), Lines(1089)));
        p.f.Click(ButtonOf(p.f, w));
        EXPECT_TRUE(p.desk.messages.empty());
        EXPECT_EQ(p.f.Memo2.lines.Get(3), line);
    }
}

Lines Source(int n, const std::string& order = "") {
    Lines coefs(size_t(n), kZero);
    coefs[0] = " 0.500000000000000000";
    return Pane(order.empty() ? std::to_string(2 * n - 2) : order, "LPF", coefs);
}

TEST(Conversion, DoubleMirrorFitsThePaneItWritesInto) {
    Program p;
    p.f.Memo1.lines.SetAll(Concat(Source(548), Lines(1101 - 556)));
    p.f.Click(p.f.Button7);
    EXPECT_EQ(p.desk.messages, Lines{U(kTooMany)});
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));

    p.f.Memo2.lines.SetAll(Lines(1103));
    p.f.Click(p.f.Button7);
    EXPECT_EQ(p.desk.messages.size(), 1u);
    EXPECT_EQ(p.f.Memo2.lines.Get(1102), "end;");

    p.f.Memo1.lines.SetAll(Concat(Source(547), Lines(1101 - 555)));
    p.f.Memo2.lines.SetAll(Lines(1101));
    p.f.Click(p.f.Button7);
    EXPECT_EQ(p.desk.messages.size(), 1u);
    EXPECT_EQ(p.f.Memo2.lines.Get(4), "coefNum : 1093");
    EXPECT_EQ(p.f.Memo2.lines.Get(1100), "end;");
}

TEST(Conversion, ResultMustFitAShrunkConvertedPane) {
    ScratchDir dir;
    Program p;
    p.f.Memo2.lines.SetAll(Lines(12));
    p.LoadLines(DesignFile());
    p.f.Click(p.f.Button3);
    EXPECT_EQ(p.desk.messages, Lines{U(kConvertedTooShort)});
    p.LoadLines(NyquistFile());
    p.f.Click(p.f.Button3);
    EXPECT_EQ(p.desk.messages.size(), 1u);
    EXPECT_EQ(p.f.Memo2.lines.Get(11), "end;");
}

TEST(Conversion, DoubledOrderMustStayAnInteger) {
    Program p;
    p.f.Memo1.lines.SetAll(Concat(Source(4, "1073741824"), Lines(1089)));
    p.f.Click(p.f.Button7);
    EXPECT_EQ(p.desk.messages, Lines{U(kOrder)});
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));

    p.f.Memo1.lines.Set(1, "order : 1073741822");
    p.f.Click(p.f.Button7);
    EXPECT_EQ(p.desk.messages.size(), 1u);
    EXPECT_EQ(p.f.Memo2.lines.Get(1), "order : 2147483644");
}

TEST(CopyBack, AcceptedAfterTheThreeSourceConversionsAndRedrawsOnlyTheSource) {
    for (auto [w, endLine] : {std::pair{Invert, 11}, {Reverse, 11}, {DoubleMirror, 14}}) {
        SCOPED_TRACE(w);
        ScratchDir dir;
        Program p;
        p.LoadLines(With(NyquistFile(), 0, "name : lowpass"));
        p.f.Click(ButtonOf(p.f, w));
        ui::Bitmap converted = *p.f.Image2.picture;
        Lines convertedPane = p.f.Memo2.lines.All();
        p.f.Click(p.f.Button8);
        EXPECT_TRUE(p.desk.messages.empty());
        EXPECT_EQ(Program::Get(p.f.Memo1, 0, endLine), Program::Get(p.f.Memo2, 0, endLine));
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, endLine + 1));
        EXPECT_EQ(p.f.Memo2.lines.All(), convertedPane);
        EXPECT_EQ(*p.f.Image1.picture, converted);
        EXPECT_EQ(*p.f.Image2.picture, converted);
    }
}

TEST(CopyBack, RefusedAfterNotchAndShelving) {
    for (Which w : {Notch, Shelving, NotchedShelving}) {
        ScratchDir dir;
        Program p;
        p.LoadLines(NyquistFile());
        p.f.Click(ButtonOf(p.f, w));
        Lines before = Program::Get(p.f.Memo1, 0, 1100);
        ui::Bitmap picture = *p.f.Image1.picture;
        p.f.Click(p.f.Button8);
        EXPECT_EQ(p.desk.messages, Lines{U(kNotSource)});
        EXPECT_EQ(Program::Get(p.f.Memo1, 0, 1100), before);
        EXPECT_EQ(*p.f.Image1.picture, picture);
    }
}

TEST(CopyBack, CountBeyondTheSourcePaneIsRefused) {
    Program p;
    p.f.Memo2.lines.SetAll(Concat(Source(1100), Lines(1200 - 1108)));
    p.f.Click(p.f.Button8);
    EXPECT_EQ(p.desk.messages, Lines{U(kTooMany)});
    EXPECT_EQ(p.f.Memo1.lines.Get(1), U("　### ＬＰＦ／ＨＰＦ／ＢＰＦ／ＢＥＦ　ｏｎｌｙ ###"));
}

TEST(CopyBack, SourcePaneTheUserHasEmptiedIsNamed) {
    ScratchDir dir;
    Program p;
    p.LoadLines(NyquistFile());
    p.f.Click(p.f.Button3);
    p.f.Memo1.lines.SetAll({});
    p.f.Click(p.f.Button8);
    EXPECT_EQ(p.desk.messages, Lines{U(kSourceTooShort)});
    EXPECT_EQ(p.f.Memo1.lines.Count(), 0);
}

TEST(CopyBack, CountPastThePaneFailsTheCheckHoweverTheLinesLook) {
    Program p;
    Lines pane = Source(1093);  // "end;" in the pane's last line, 1100
    p.f.Memo2.lines.SetAll(pane);
    p.f.Memo2.lines.Set(4, "coefNum : 1094");
    p.f.Click(p.f.Button8);
    EXPECT_EQ(p.desk.messages, Lines{U(kUnusable)});
    p.f.Memo2.lines.Set(4, "coefNum : 1093");
    p.f.Click(p.f.Button8);
    EXPECT_EQ(p.desk.messages.size(), 1u);
    EXPECT_EQ(p.f.Memo1.lines.Get(1100), "end;");
}

TEST(CopyBack, ConversionsChain) {
    ScratchDir dir;
    Program p;
    p.LoadLines(NyquistFile());
    for (Which w : {Invert, CopyBack, DoubleMirror, CopyBack, Invert}) p.f.Click(ButtonOf(p.f, w));
    EXPECT_TRUE(p.desk.messages.empty());
    EXPECT_TRUE(p.desk.errors.empty());
    Lines expected = Pane("12", "BEF",
                          {" 0.500000000000000000", kZero, " 0.312500000000000000", kZero, kZero, kZero,
                           "-0.062500000000000000"});
    EXPECT_EQ(Program::Get(p.f.Memo2, 0, 14), expected);
    EXPECT_EQ(Program::Get(p.f.Memo1, 3, 3), Lines{"character : BPF"});
}

}  // namespace
}  // namespace tobrenth_test
