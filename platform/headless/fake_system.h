// Operating system stand-in: scripted answers, and calls that change the machine (input lock,
// shut-down, clock) are only recorded.
#pragma once
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/system.h"

namespace platform::headless {

class FakeSystem : public System {
public:
    enum class Privilege { GetCurrentProcess, OpenProcessToken, LookupPrivilegeValue,
                           AdjustTokenPrivileges };
    struct AdjustCall {
        kit::Handle token;
        bool disableAll;
        TokenPrivileges newState;
    };

    static constexpr kit::Handle kProcessHandle = static_cast<kit::Handle>(-1);
    static constexpr kit::Handle kTokenHandle = 0x7A0;
    static constexpr std::uint32_t kErrorNotAllAssigned = 1300;
    static constexpr std::uint32_t kErrorPrivilegeNotHeld = 1314;

    FakeSystem() { reset(); }

    bool getVersionEx(OsVersionInfoEx& info) override;
    kit::Handle findWindow(const std::string& className) override;
    kit::Handle findWindowEx(kit::Handle parent, const std::string& className) override;
    bool showWindow(kit::Handle window, int command) override;
    bool blockInput(bool block) override;
    void setLastError(std::uint32_t code) override { lastError_ = code; }
    std::uint32_t getLastError() override { return lastError_; }
    kit::Handle getCurrentProcess() override;
    bool openProcessToken(kit::Handle process, std::uint32_t access,
                          kit::Handle& token) override;
    bool lookupPrivilegeValue(const std::string& systemName, const std::string& name,
                              Luid& luid) override;
    bool adjustTokenPrivileges(kit::Handle token, bool disableAll,
                               const TokenPrivileges& newState, std::uint32_t bufferLength,
                               TokenPrivileges* previousState,
                               std::uint32_t* returnLength) override;
    bool closeHandle(kit::Handle handle) override;
    bool exitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
    bool setSystemTime(const SystemTime& utc) override;

    // Scripts. The version record is copied out as is (its size field is the caller's).
    OsVersionInfoEx& version() { return version_; }
    void setVersionFails(bool fails) { versionFails_ = fails; }
    // The nth version query from now on (1 = the next) throws this instead of answering.
    void throwAtVersionQuery(int nth, std::exception_ptr error) {
        versionThrowIn_ = nth;
        versionError_ = std::move(error);
    }
    // findWindow looks under parent 0; class names are case-insensitive.
    void addWindow(kit::Handle parent, const std::string& className, kit::Handle window);
    // The call sets this last-error code; it then fails, except that
    // adjustTokenPrivileges still succeeds with kErrorNotAllAssigned, as on Windows.
    void setPrivilegeError(Privilege call, std::uint32_t code) { privilegeErrors_[call] = code; }

    // The clock setter refuses (last error 1314, a user without the right), or, when a setter
    // is given, hands it each new time (a test moves its virtual clock with it).
    void setClockRefused(bool refused) { clockRefused_ = refused; }
    void setClockSetter(std::function<void(const SystemTime&)> setter) {
        clockSetter_ = std::move(setter);
    }

    // Recordings.
    const std::vector<std::string>& calls() const { return calls_; }  // names, in order
    const std::vector<std::pair<kit::Handle, int>>& showCalls() const { return shows_; }
    const std::vector<bool>& blockInputCalls() const { return blocks_; }
    const std::vector<std::string>& privilegeNames() const { return privilegeNames_; }
    const std::vector<AdjustCall>& adjustCalls() const { return adjusts_; }
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& exitWindowsCalls() const {
        return exits_;
    }
    const std::vector<SystemTime>& setSystemTimeCalls() const { return times_; }
    const std::vector<kit::Handle>& closedHandles() const { return closed_; }

    void reset();

private:
    bool scripted(Privilege call, std::uint32_t& code) const;

    OsVersionInfoEx version_;
    bool versionFails_ = false;
    int versionThrowIn_ = 0;
    std::exception_ptr versionError_;
    std::map<std::pair<kit::Handle, std::string>, kit::Handle> windows_;
    std::map<Privilege, std::uint32_t> privilegeErrors_;
    std::uint32_t lastError_ = 0;
    std::vector<std::string> calls_;
    std::vector<std::pair<kit::Handle, int>> shows_;
    std::vector<bool> blocks_;
    std::vector<std::string> privilegeNames_;
    std::vector<AdjustCall> adjusts_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> exits_;
    std::vector<SystemTime> times_;
    std::vector<kit::Handle> closed_;
    bool clockRefused_ = false;
    std::function<void(const SystemTime&)> clockSetter_;
};

}  // namespace platform::headless
