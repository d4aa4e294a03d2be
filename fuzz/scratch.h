#pragma once
// A private folder for one fuzzing process: each input is written to a file in it, because the
// programs only ever read their input from files.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// The folder lives as long as the process and is removed at a normal exit.
struct Scratch {
    Scratch() {
        char pattern[] = "/tmp/suite-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        dir = pattern;
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) std::abort();
        home = cwd;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string dir;
    std::string home;  // the current directory at start, for libFuzzer's relative paths
};

inline Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}
inline const std::string& ScratchDir() { return TheScratch().dir; }

// Writes the bytes to name inside the scratch folder and returns the path.
inline std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchDir() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

// A file dialog makes the chosen file's folder current; libFuzzer needs its own back afterwards.
struct KeepCurrentDir {
    KeepCurrentDir() { TheScratch(); }
    ~KeepCurrentDir() {
        if (chdir(TheScratch().home.c_str()) != 0) std::abort();
    }
};

// A fuzz finding: print what broke and stop, so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
