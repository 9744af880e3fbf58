// Operating system services through the Win32 API.
#pragma once
#include "platform/system.h"

namespace platform::win32 {

class Win32System : public System {
public:
    bool getVersionEx(OsVersionInfoEx& info) override;
    kit::Handle findWindow(const std::string& className) override;
    kit::Handle findWindowEx(kit::Handle parent, const std::string& className) override;
    bool showWindow(kit::Handle window, int command) override;
    bool blockInput(bool block) override;
    void setLastError(std::uint32_t code) override;
    std::uint32_t getLastError() override;
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
};

// Appends a line to effects.log in the exe's folder (smoke runs record effects there).
void RecordEffect(const std::string& line);

// The real system, except that locking input, shutting down and setting the clock are only
// written as lines to effects.log in the exe's folder (for smoke runs).
class RecordingEffectsSystem : public Win32System {
public:
    bool blockInput(bool block) override;
    bool exitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
    bool setSystemTime(const SystemTime& utc) override;

private:
    void record(const std::string& line);
};

}  // namespace platform::win32
