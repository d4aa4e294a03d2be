#include "textfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "errors.h"
#include "sjis.h"

namespace {

constexpr char kCtrlZ = 0x1A;
constexpr int kSharingViolation = 32;
constexpr int kFileNotOpen = 103;

constexpr int kAccessDenied = 5;

[[noreturn]] void ThrowCode(int code) { throw FileError(code, FileErrorMessage(code)); }
[[noreturn]] void ThrowErrno(int err) { throw FileErrorFromErrno(err); }

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder that would hold the file: everything before the last "/", "." for a bare name.
std::string ParentFolder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A failed open: a missing file is 2 only when its folder exists; a FIFO without a reader or a
// socket (ENXIO) is not a file the suite can use, like a folder.
[[noreturn]] void ThrowOpenError(const std::string& path, int err) {
    if (err == ENOENT && !IsFolder(ParentFolder(path))) ThrowCode(3);
    if (err == ENXIO) ThrowCode(kAccessDenied);
    ThrowErrno(err);
}

// Opens with the given flags and takes the flock; throws the mapped FileError on failure.
// Never blocks: only regular files are used, so a FIFO or a device cannot hang the window.
int OpenLocked(const std::string& path, int flags, int lock) {
    if (path.find('\0') != std::string::npos) ThrowCode(3);
    int fd;
    do fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) ThrowOpenError(path, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        ThrowCode(kAccessDenied);
    }
    int r;
    do r = ::flock(fd, lock | LOCK_NB);
    while (r < 0 && errno == EINTR);
    if (r < 0) {
        int err = errno;
        ::close(fd);
        ThrowErrno(err);
    }
    return fd;
}

// Closes the descriptor; returns errno on failure, 0 on success.
int CloseFd(int fd) {
    if (::close(fd) == 0 || errno == EINTR) return 0;
    return errno;
}

}  // namespace

std::string FileErrorMessage(int code) {
    switch (code) {
        case 2: return Sjis("ファイルが見つかりません");
        case 3: return Sjis("ファイル名の指定が間違っています");
        case 4: return Sjis("オープンしたファイルが多すぎます");
        case 5: return Sjis("ファイルへのアクセスが拒否されました");
        default: return Sjis("I/O エラー (" + std::to_string(code) + ")");
    }
}

FileError FileErrorFromErrno(int err) {
    int code = err;
    switch (err) {
        case ENOENT: code = 2; break;
        case ENOTDIR:
        case ENAMETOOLONG: code = 3; break;
        case EMFILE:
        case ENFILE: code = 4; break;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS: code = kAccessDenied; break;
        case EWOULDBLOCK: code = kSharingViolation; break;
        default: return FileError(err, Sjis("I/O エラー (" + std::to_string(err) + ")"));
    }
    return FileError(code, FileErrorMessage(code));
}

TextReader::TextReader(const std::string& path) : fd_(OpenLocked(path, O_RDONLY, LOCK_SH)) {}

TextReader::~TextReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool TextReader::Fill() {
    if (eof_) return false;
    ssize_t n;
    do n = ::read(fd_, buf_, sizeof buf_);
    while (n < 0 && errno == EINTR);
    if (n < 0) ThrowErrno(errno);
    pos_ = 0;
    len_ = int(n);
    eof_ = n == 0;
    return !eof_;
}

std::string TextReader::ReadLine() {
    if (fd_ < 0) ThrowCode(kFileNotOpen);
    std::string text;
    bool skipping = false;  // after a Ctrl-Z, up to the line end
    for (;;) {
        if (pos_ == len_ && !Fill()) return text;
        const char* start = buf_ + pos_;
        const char* end = buf_ + len_;
        const char* p = start;
        while (p < end && *p != '\n' && *p != '\r' && *p != kCtrlZ) ++p;
        if (!skipping) text.append(start, size_t(p - start));
        pos_ = int(p - buf_);
        if (p == end) continue;
        ++pos_;
        if (*p == '\n') return text;
        // A CR is dropped wherever it stands: before LF it belongs to the line end, alone it vanishes.
        if (*p == kCtrlZ) skipping = true;
    }
}

void TextReader::Close() {
    if (fd_ < 0) return;
    int fd = fd_;
    fd_ = -1;
    if (int err = CloseFd(fd)) ThrowErrno(err);
}

TextWriter::TextWriter(const std::string& path) : fd_(OpenLocked(path, O_WRONLY | O_CREAT, LOCK_EX)) {
    // Truncate only once the file is ours, so a refused open leaves another holder's bytes alone.
    if (::ftruncate(fd_, 0) < 0) {
        int err = errno;
        ::close(fd_);
        fd_ = -1;
        ThrowErrno(err);
    }
}

// Whatever is still buffered is dropped: an abandoned action leaves only what reached the file.
TextWriter::~TextWriter() {
    if (fd_ >= 0) ::close(fd_);
}

void TextWriter::Write(const std::string& text) {
    if (fd_ < 0) ThrowCode(kFileNotOpen);
    size_t done = 0;
    while (done < text.size()) {
        size_t n = std::min(sizeof buf_ - size_t(len_), text.size() - done);
        std::memcpy(buf_ + len_, text.data() + done, n);
        len_ += int(n);
        done += n;
        if (len_ == int(sizeof buf_)) Flush();
    }
}

void TextWriter::EndLine() { Write("\r\n"); }

void TextWriter::WriteLine(const std::string& text) {
    Write(text);
    EndLine();
}

void TextWriter::Flush() {
    int done = 0;
    while (done < len_) {
        ssize_t n = ::write(fd_, buf_ + done, size_t(len_ - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowErrno(errno);
        done += int(n);
    }
    len_ = 0;
}

void TextWriter::Close() {
    if (fd_ < 0) return;
    int fd = fd_;
    try {
        Flush();
    } catch (...) {
        fd_ = -1;
        ::close(fd);
        throw;
    }
    fd_ = -1;
    if (int err = CloseFd(fd)) ThrowErrno(err);
}
