// The line reader against the line rules written out plainly, and the writer's round trip.
#include <iterator>
#include <string>
#include <vector>

#include "scratch.h"
#include "textutil/errors.h"
#include "textutil/textfile.h"

namespace {

// The rules in their simplest form: CR is always dropped (a lone one, and the one before LF),
// LF ends a line, and Ctrl-Z cuts the rest of its line.
std::vector<std::string> ExpectedLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool cut = false;
    for (char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            cut = false;
        } else if (c == '\r' || cut) {
        } else if (c == '\x1a') {
            cut = true;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string ReadBack(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = ExpectedLines(bytes);

    const std::string path = WriteScratch("lines.txt", data, size);
    {
        TextReader reader(path);
        for (const std::string& line : expected) FUZZ_CHECK(reader.ReadLine() == line);
        for (int extra = 0; extra < 3; ++extra) FUZZ_CHECK(reader.ReadLine().empty());
        reader.Close();
    }

    // Lines without line-end bytes come back exactly, each followed by CR LF in the file.
    const std::string copy = ScratchDir() + "/copy.txt";
    std::string written;
    {
        TextWriter writer(copy);
        for (const std::string& line : expected) {
            writer.WriteLine(line);
            written += line + "\r\n";
        }
        writer.Close();
    }
    FUZZ_CHECK(ReadBack(copy) == written);
    TextReader again(copy);
    for (const std::string& line : expected) FUZZ_CHECK(again.ReadLine() == line);
    FUZZ_CHECK(again.ReadLine().empty());
    return 0;
}
