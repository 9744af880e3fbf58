// Run-time errors and process end, shared by every module.
#pragma once
#include <stdexcept>
#include <string>

namespace kit {

// The toolkit's error numbers that our code raises.
enum ErrorCode : int {
    kErrOverflow = 6,
    kErrSubscript = 9,
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrDeviceUnavailable = 68,
    kErrInvalidPropertyValue = 380,
    kErrInvalidPicture = 481,
};

// A run-time error: handlers that have error handling catch it, others let it pass up.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int code, const std::string& what = "run-time error")
        : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Thrown by the headless backend when the program ends the process, so a test can see the end.
struct ProcessEnded {
    int exitCode = 0;
};

}  // namespace kit
