#include "textutil/textfile.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "textutil/errors.h"
#include "textutil/sjis.h"
#include "ui/tempfolder.h"

namespace {

using namespace std::string_literals;

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the action and returns the FileError code it throws (0 when it does not throw).
int FailureCode(const std::function<void()>& action, std::string* message = nullptr) {
    try {
        action();
    } catch (const FileError& e) {
        if (message) *message = e.what();
        return e.code();
    }
    return 0;
}

// Each test runs in a fresh temporary folder.
class TextFile : public ::testing::Test {
protected:
    ui::TempFolder folder_;
};

struct ReadCase {
    std::string name;
    std::string bytes;
    std::vector<std::string> lines;  // then only empty texts
};

TEST_F(TextFile, LineRules) {
    const std::string longLine(300, 'x');
    const std::vector<ReadCase> cases = {
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR dropped", "a\rb\r\n", {"ab"}},
        {"CR at the end", "a\r", {"a"}},
        {"no last line end", "abc", {"abc"}},
        {"last line without end", "a\r\nb", {"a", "b"}},
        {"empty lines", "\r\n\n\r\n", {"", "", ""}},
        {"empty file", "", {}},
        {"Ctrl-Z ends the line", "ab\x1A" "cd\r\nef\r\n", {"ab", "ef"}},
        {"Ctrl-Z after the last line", "a\r\n\x1A", {"a"}},
        {"Ctrl-Z then more", "\x1A\r\nx", {"", "x"}},
        {"Shift-JIS and NUL pass", "\x82\xa0\0\x8f\r\n"s, {"\x82\xa0\0\x8f"s}},
        {"long line", longLine + "\r\n" + longLine, {longLine, longLine}},
        {"CR LF across the buffer edge", std::string(127, 'y') + "\r\nz", {std::string(127, 'y'), "z"}},
        {"Ctrl-Z across the buffer edge", std::string(127, 'y') + "\x1A" + std::string(200, 'q') + "\nz",
         {std::string(127, 'y'), "z"}},
    };
    for (const auto& c : cases) {
        WriteBytes("in.txt", c.bytes);
        TextReader reader("in.txt");
        for (const auto& line : c.lines) EXPECT_EQ(reader.ReadLine(), line) << c.name;
        EXPECT_EQ(reader.ReadLine(), "") << c.name;
        EXPECT_EQ(reader.ReadLine(), "") << c.name;
        reader.Close();
    }
}

TEST_F(TextFile, HundredReadsOfThreeLines) {
    WriteBytes("three.txt", "one\r\ntwo\r\nthree\r\n");
    TextReader reader("three.txt");
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) lines.push_back(reader.ReadLine());
    reader.Close();
    std::vector<std::string> expected = {"one", "two", "three"};
    expected.resize(100);
    EXPECT_EQ(lines, expected);
}

TEST_F(TextFile, WrittenBytes) {
    std::string many;
    {
        TextWriter writer("out.txt");
        writer.WriteLine("name : ");
        writer.Write("order : ");
        writer.Write("60");
        writer.EndLine();
        writer.WriteLine("");
        writer.WriteLine("\x82\xa0\0x"s);
        for (int i = 0; i < 100; ++i) {
            writer.WriteLine(std::to_string(i));
            many += std::to_string(i) + "\r\n";
        }
        writer.Close();
    }
    EXPECT_EQ(ReadBytes("out.txt"), "name : \r\norder : 60\r\n\r\n\x82\xa0\0x\r\n"s + many);
}

TEST_F(TextFile, WriterTruncatesAnExistingFile) {
    WriteBytes("out.txt", std::string(1000, 'o'));
    TextWriter writer("out.txt");
    writer.WriteLine("x");
    writer.Close();
    EXPECT_EQ(ReadBytes("out.txt"), "x\r\n");
}

TEST_F(TextFile, AbandonedWriterKeepsOnlyFullBuffers) {
    {
        TextWriter writer("out.txt");
        writer.Write(std::string(200, 'a'));
    }
    EXPECT_EQ(ReadBytes("out.txt"), std::string(128, 'a'));
    TextWriter again("out.txt");  // the abandoned writer released the file
    again.Close();
    EXPECT_EQ(ReadBytes("out.txt"), "");
}

TEST_F(TextFile, TwoReadersCoexist) {
    WriteBytes("in.txt", "a\r\nb\r\n");
    TextReader first("in.txt");
    TextReader second("in.txt");
    EXPECT_EQ(first.ReadLine(), "a");
    EXPECT_EQ(second.ReadLine(), "a");
    EXPECT_EQ(first.ReadLine(), "b");
    first.Close();
    second.Close();
}

TEST_F(TextFile, SharingViolationsInOneProcess) {
    const std::string original = "keep\r\nme\r\n";
    WriteBytes("f.txt", original);
    std::string message;
    {
        TextReader reader("f.txt");
        EXPECT_EQ(FailureCode([] { TextWriter w("f.txt"); }, &message), 32);
        EXPECT_EQ(message, Sjis("I/O エラー (32)"));
        EXPECT_EQ(ReadBytes("f.txt"), original);
        EXPECT_EQ(reader.ReadLine(), "keep");
    }
    {
        TextWriter writer("f.txt");
        EXPECT_EQ(FailureCode([] { TextReader r("f.txt"); }), 32);
        EXPECT_EQ(FailureCode([] { TextWriter w("f.txt"); }), 32);
        writer.WriteLine("new");
        writer.Close();
    }
    EXPECT_EQ(ReadBytes("f.txt"), "new\r\n");
}

// Runs `hold` in a child process that keeps the file until the parent has tried `attempt`.
int CodeWhileChildHolds(const std::function<void()>& hold, const std::function<void()>& attempt) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return -1;
    pid_t child = fork();
    if (child == 0) {
        int ok = 1;
        try {
            hold();
        } catch (...) {
            ok = 0;
        }
        char byte = char(ok);
        if (write(ready[1], &byte, 1) != 1) _exit(2);
        if (read(release[0], &byte, 1) < 0) _exit(2);
        _exit(0);
    }
    char byte = 0;
    int code = -1;
    if (read(ready[0], &byte, 1) == 1 && byte == 1) code = FailureCode(attempt);
    if (write(release[1], &byte, 1) != 1) code = -1;
    int status = 0;
    waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
    return code;
}

TEST_F(TextFile, SharingViolationsAcrossProcesses) {
    const std::string original = "held\r\n";
    WriteBytes("f.txt", original);
    // The child's file object is never destroyed: the file stays open until the child exits.
    auto holdReader = [] { (void)new TextReader("f.txt"); };
    auto holdWriter = [] { (void)new TextWriter("f.txt"); };
    EXPECT_EQ(CodeWhileChildHolds(holdReader, [] { TextWriter w("f.txt"); }), 32);
    EXPECT_EQ(ReadBytes("f.txt"), original);
    EXPECT_EQ(CodeWhileChildHolds(holdReader, [] { TextReader r("f.txt"); }), 0);
    EXPECT_EQ(CodeWhileChildHolds(holdWriter, [] { TextReader r("f.txt"); }), 32);
    // Once the children are gone the file is free again.
    TextWriter writer("f.txt");
    writer.Close();
}

TEST_F(TextFile, OpenFailures) {
    mkdir("folder", 0755);
    struct Case {
        std::string name;
        std::function<void()> open;
        int code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing file", [] { TextReader r("missing.txt"); }, 2, "ファイルが見つかりません"},
        {"missing folder", [] { TextReader r("nowhere/x.txt"); }, 3, "ファイル名の指定が間違っています"},
        {"missing folder, writing", [] { TextWriter w("nowhere/x.txt"); }, 3, "ファイル名の指定が間違っています"},
        {"file as folder", [] { WriteBytes("plain", "x"); TextReader r("plain/x.txt"); }, 3,
         "ファイル名の指定が間違っています"},
        {"folder, reading", [] { TextReader r("folder"); }, 5, "ファイルへのアクセスが拒否されました"},
        {"folder, writing", [] { TextWriter w("folder"); }, 5, "ファイルへのアクセスが拒否されました"},
        {"NUL in the name", [] { TextReader r("a\0b"s); }, 3, "ファイル名の指定が間違っています"},
        {"name too long", [] { TextReader r(std::string(5000, 'n')); }, 3, "ファイル名の指定が間違っています"},
        // Not regular files: each would block the open or never end a line.
        {"FIFO, reading", [] { TextReader r("fifo"); }, 5, "ファイルへのアクセスが拒否されました"},
        {"FIFO, writing", [] { TextWriter w("fifo"); }, 5, "ファイルへのアクセスが拒否されました"},
        {"device, reading", [] { TextReader r("/dev/zero"); }, 5, "ファイルへのアクセスが拒否されました"},
        {"device, writing", [] { TextWriter w("/dev/null"); }, 5, "ファイルへのアクセスが拒否されました"},
    };
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    alarm(20);  // a blocking open ends the test here instead of hanging it
    for (const auto& c : cases) {
        std::string message;
        EXPECT_EQ(FailureCode(c.open, &message), c.code) << c.name;
        EXPECT_EQ(message, Sjis(c.message)) << c.name;
    }
    alarm(0);
}

// A read failure of the system keeps its own number: EIO is 5 but not "access denied".
TEST_F(TextFile, ReadFailureOfTheSystem) {
    TextReader reader("/proc/self/mem");
    std::string message;
    EXPECT_EQ(FailureCode([&] { reader.ReadLine(); }, &message), EIO);
    EXPECT_EQ(message, Sjis("I/O エラー (5)"));
}

TEST_F(TextFile, ReadOnlyFileRefusesWriting) {
    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the root user";
    WriteBytes("ro.txt", "x");
    chmod("ro.txt", 0444);
    EXPECT_EQ(FailureCode([] { TextWriter w("ro.txt"); }), 5);
    EXPECT_EQ(ReadBytes("ro.txt"), "x");
}

TEST(FileErrorText, MessagesByCode) {
    const std::vector<std::pair<int, std::string>> cases = {
        {2, "ファイルが見つかりません"},
        {3, "ファイル名の指定が間違っています"},
        {4, "オープンしたファイルが多すぎます"},
        {5, "ファイルへのアクセスが拒否されました"},
        {32, "I/O エラー (32)"},
        {28, "I/O エラー (28)"},
    };
    for (const auto& [code, message] : cases) EXPECT_EQ(FileErrorMessage(code), Sjis(message)) << code;
}

TEST(FileErrorText, SystemErrors) {
    struct Case {
        int err;
        int code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {ENOENT, 2, "ファイルが見つかりません"},
        {ENAMETOOLONG, 3, "ファイル名の指定が間違っています"},
        {EMFILE, 4, "オープンしたファイルが多すぎます"},
        {EISDIR, 5, "ファイルへのアクセスが拒否されました"},
        {EWOULDBLOCK, 32, "I/O エラー (32)"},
        // Numbers of the table that mean other causes here keep their own text.
        {ESRCH, 3, "I/O エラー (3)"},
        {EINTR, 4, "I/O エラー (4)"},
        {EIO, 5, "I/O エラー (5)"},
        {ENOSPC, 28, "I/O エラー (28)"},
    };
    for (const auto& c : cases) {
        FileError e = FileErrorFromErrno(c.err);
        EXPECT_EQ(e.code(), c.code) << c.err;
        EXPECT_EQ(std::string(e.what()), Sjis(c.message)) << c.err;
    }
}

}  // namespace
