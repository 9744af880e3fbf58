// Run-time errors and process end, shared by every module.
#pragma once
#include <functional>
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
    kErrPathNotFound = 76,
    kErrInvalidPropertyValue = 380,
    kErrInvalidPicture = 481,
    kErrDialogCancelled = 32755,  // a common dialog's Cancel, when CancelError asks for it
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

// Work that must still be done however the process ends: through End, after an error that no
// handler caught, or in a crash (what the program changed outside itself, put back). One
// action per key; a key set again replaces its action.
void AtProcessEnd(const std::string& key, std::function<void()> action);
void CancelAtProcessEnd(const std::string& key);
// Runs every action once, the newest first, and forgets them; one that fails does not stop
// the others.
void RunProcessEndActions();
// A fresh process has none (tests).
void ClearProcessEndActions();

// Ends the process after an error that no handler caught: the end actions run, the error is
// shown (the text, the application's title, the error icon), and the process ends with code 1.
[[noreturn]] void EndAfterUnhandledError(const std::string& text);

}  // namespace kit
