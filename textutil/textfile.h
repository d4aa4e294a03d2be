#pragma once
// Line-oriented text files: bytes pass unchanged; reads end lines at LF or CR LF, drop a lone CR,
// stop a line at Ctrl-Z and give empty texts past the end; every written line ends with CR LF.
// Sharing across processes with flock: readers share, a writer needs the file to itself.
// Every failure throws FileError with the message for its code.
// Destructors close without throwing; a writer's destructor drops what is still buffered
// (call Close() to write it out), so an abandoned action leaves only what reached the file.
#include <string>

#include "errors.h"

class TextReader {
public:
    explicit TextReader(const std::string& path);  // opens for reading; FileError on failure
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;
    std::string ReadLine();  // empty text at and after the end, without limit
    void Close();

private:
    bool Fill();
    int fd_ = -1;
    char buf_[128];
    int pos_ = 0;
    int len_ = 0;
    bool eof_ = false;
};

class TextWriter {
public:
    explicit TextWriter(const std::string& path);  // creates or truncates; FileError on failure
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    void Write(const std::string& text);
    void EndLine();
    void WriteLine(const std::string& text);  // Write then EndLine
    void Close();  // writes out the buffer, then closes; FileError on failure

private:
    void Flush();
    int fd_ = -1;
    char buf_[128];
    int len_ = 0;
};

// The message for a system error code (2, 3, 4, 5, or "I/O エラー (%d)"), in Shift-JIS.
std::string FileErrorMessage(int code);
// The error for a failed system call: the causes of the table get their codes and texts (ENOENT 2,
// ENOTDIR/ENAMETOOLONG 3, EMFILE/ENFILE 4, EACCES/EISDIR/EPERM/EROFS 5), a held lock is 32, and
// any other errno is "I/O エラー (%d)" with its own number, even where that number is 2 to 5.
FileError FileErrorFromErrno(int err);
