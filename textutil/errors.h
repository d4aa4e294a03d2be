#pragma once
// Errors that abandon a user action; each carries its Shift-JIS message text.
#include <cfenv>
#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message), message_(message) {}
    // The whole message; what() ends at the first NUL byte, which a quoted file line may hold.
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// A text that a number conversion refuses.
class ConvertError : public AppError {
public:
    using AppError::AppError;
};

// A file that cannot be opened, read, written or closed; code is the system error code.
class FileError : public AppError {
public:
    FileError(int code, const std::string& message) : AppError(message), code_(code) {}
    int code() const { return code_; }
private:
    int code_;
};

// An invalid operation, a division by zero or an overflow.
class ArithError : public AppError {
public:
    using AppError::AppError;
};

// Clears the floating-point exception flags (done when a handler starts).
void ClearFpFlags();
// Throws ArithError when invalid, division-by-zero or overflow is raised; underflow and inexact stay silent.
void CheckFpFlags();
// Keeps the handler's floating-point flags across code that is not its own (a dialog, a message
// box): whatever that code raises is dropped when the object goes.
class FpFlagsKept {
public:
    FpFlagsKept();
    ~FpFlagsKept();
    FpFlagsKept(const FpFlagsKept&) = delete;
    FpFlagsKept& operator=(const FpFlagsKept&) = delete;

private:
    std::fexcept_t saved_;
};

// Throws the integer-division ArithError.
[[noreturn]] void ThrowIntegerDivideByZero();
