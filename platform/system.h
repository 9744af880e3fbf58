// Operating system services: version, windows by class, input lock, shut-down, system time.
#pragma once
#include <cstdint>
#include <string>

#include "kit/backend.h"

namespace platform {

// OSVERSIONINFOEXA, 156 bytes.
struct OsVersionInfoEx {
    std::uint32_t dwOSVersionInfoSize = 156;
    std::uint32_t dwMajorVersion = 0, dwMinorVersion = 0, dwBuildNumber = 0, dwPlatformId = 0;
    char szCSDVersion[128] = {};
    std::uint16_t wServicePackMajor = 0, wServicePackMinor = 0, wSuiteMask = 0;
    std::uint8_t wProductType = 0, wReserved = 0;
};

struct Luid {
    std::uint32_t lowPart = 0;
    std::int32_t highPart = 0;
};

// TOKEN_PRIVILEGES with one privilege, 16 bytes.
struct TokenPrivileges {
    std::uint32_t privilegeCount = 1;
    Luid luid;
    std::uint32_t attributes = 0;
};

// SYSTEMTIME, UTC.
struct SystemTime {
    std::uint16_t wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0,
                  wSecond = 0, wMilliseconds = 0;
};

constexpr std::uint32_t kSePrivilegeEnabled = 2;
constexpr std::uint32_t kTokenAdjustPrivileges = 0x20, kTokenQuery = 0x8;
constexpr int kSwHide = 0, kSwRestore = 9;

class System {
public:
    virtual ~System() = default;
    virtual bool getVersionEx(OsVersionInfoEx& info) = 0;

    virtual kit::Handle findWindow(const std::string& className) = 0;
    virtual kit::Handle findWindowEx(kit::Handle parent, const std::string& className) = 0;
    virtual bool showWindow(kit::Handle window, int command) = 0;

    virtual bool blockInput(bool block) = 0;

    virtual void setLastError(std::uint32_t code) = 0;
    virtual std::uint32_t getLastError() = 0;
    virtual kit::Handle getCurrentProcess() = 0;
    virtual bool openProcessToken(kit::Handle process, std::uint32_t access,
                                  kit::Handle& token) = 0;
    virtual bool lookupPrivilegeValue(const std::string& systemName, const std::string& name,
                                      Luid& luid) = 0;
    virtual bool adjustTokenPrivileges(kit::Handle token, bool disableAll,
                                       const TokenPrivileges& newState, std::uint32_t bufferLength,
                                       TokenPrivileges* previousState,
                                       std::uint32_t* returnLength) = 0;
    virtual bool closeHandle(kit::Handle handle) = 0;
    virtual bool exitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
    virtual bool setSystemTime(const SystemTime& utc) = 0;
};

}  // namespace platform
