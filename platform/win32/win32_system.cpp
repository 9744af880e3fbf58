#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "kit/win32/win32_backend.h"

namespace platform::win32 {
namespace {
HWND W(kit::Handle h) { return reinterpret_cast<HWND>(h); }
}  // namespace

bool Win32System::getVersionEx(OsVersionInfoEx& info) {
    OSVERSIONINFOEXA v{};
    static_assert(sizeof v == sizeof info);
    v.dwOSVersionInfoSize = info.dwOSVersionInfoSize;  // 148 asks for the short record
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v))) return false;
    info.dwMajorVersion = v.dwMajorVersion;
    info.dwMinorVersion = v.dwMinorVersion;
    info.dwBuildNumber = v.dwBuildNumber;
    info.dwPlatformId = v.dwPlatformId;
    std::memcpy(info.szCSDVersion, v.szCSDVersion, sizeof info.szCSDVersion);
    if (info.dwOSVersionInfoSize >= sizeof v) {
        info.wServicePackMajor = v.wServicePackMajor;
        info.wServicePackMinor = v.wServicePackMinor;
        info.wSuiteMask = v.wSuiteMask;
        info.wProductType = v.wProductType;
        info.wReserved = v.wReserved;
    }
    return true;
}

kit::Handle Win32System::findWindow(const std::string& className) {
    return reinterpret_cast<kit::Handle>(FindWindowA(className.c_str(), nullptr));
}

kit::Handle Win32System::findWindowEx(kit::Handle parent, const std::string& className) {
    return reinterpret_cast<kit::Handle>(
        FindWindowExA(W(parent), nullptr, className.c_str(), nullptr));
}

bool Win32System::showWindow(kit::Handle window, int command) {
    return ShowWindow(W(window), command) != 0;
}

bool Win32System::blockInput(bool block) { return BlockInput(block ? TRUE : FALSE) != 0; }

void Win32System::setLastError(std::uint32_t code) { SetLastError(code); }

std::uint32_t Win32System::getLastError() { return GetLastError(); }

kit::Handle Win32System::getCurrentProcess() {
    return reinterpret_cast<kit::Handle>(GetCurrentProcess());
}

bool Win32System::openProcessToken(kit::Handle process, std::uint32_t access,
                                   kit::Handle& token) {
    HANDLE t = nullptr;
    BOOL ok = OpenProcessToken(reinterpret_cast<HANDLE>(process), access, &t);
    token = reinterpret_cast<kit::Handle>(t);
    return ok != 0;
}

bool Win32System::lookupPrivilegeValue(const std::string& systemName, const std::string& name,
                                       Luid& luid) {
    LUID l{};
    BOOL ok = LookupPrivilegeValueA(systemName.empty() ? nullptr : systemName.c_str(),
                                    name.c_str(), &l);
    luid.lowPart = l.LowPart;
    luid.highPart = l.HighPart;
    return ok != 0;
}

bool Win32System::adjustTokenPrivileges(kit::Handle token, bool disableAll,
                                        const TokenPrivileges& newState,
                                        std::uint32_t bufferLength,
                                        TokenPrivileges* previousState,
                                        std::uint32_t* returnLength) {
    TOKEN_PRIVILEGES in{}, prev{};
    static_assert(sizeof in == sizeof newState);
    in.PrivilegeCount = newState.privilegeCount;
    in.Privileges[0].Luid.LowPart = newState.luid.lowPart;
    in.Privileges[0].Luid.HighPart = newState.luid.highPart;
    in.Privileges[0].Attributes = newState.attributes;
    DWORD len = 0;
    // The previous state holds one privilege at most, so never claim more room than that.
    DWORD room = previousState ? (bufferLength < sizeof prev ? bufferLength : sizeof prev) : 0;
    BOOL ok = AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), disableAll ? TRUE : FALSE,
                                    &in, room, previousState ? &prev : nullptr,
                                    &len);
    if (previousState) {
        previousState->privilegeCount = prev.PrivilegeCount;
        previousState->luid.lowPart = prev.Privileges[0].Luid.LowPart;
        previousState->luid.highPart = prev.Privileges[0].Luid.HighPart;
        previousState->attributes = prev.Privileges[0].Attributes;
    }
    if (returnLength) *returnLength = len;
    return ok != 0;
}

bool Win32System::closeHandle(kit::Handle handle) {
    return CloseHandle(reinterpret_cast<HANDLE>(handle)) != 0;
}

bool Win32System::exitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ExitWindowsEx(flags, reason) != 0;
}

bool Win32System::setSystemTime(const SystemTime& utc) {
    SYSTEMTIME st{utc.wYear,   utc.wMonth,  utc.wDayOfWeek, utc.wDay,
                  utc.wHour,   utc.wMinute, utc.wSecond,    utc.wMilliseconds};
    return SetSystemTime(&st) != 0;
}

void RecordEffect(const std::string& line) {
    std::string path = kit::win32::ModuleFolder();
    if (path.empty() || path.back() != '\\') path += '\\';
    path += "effects.log";
    // Opened and closed per line: the next effect may well end the process.
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

void RecordingEffectsSystem::record(const std::string& line) { RecordEffect(line); }

bool RecordingEffectsSystem::blockInput(bool block) {
    record(block ? "BlockInput 1" : "BlockInput 0");
    return true;
}

bool RecordingEffectsSystem::exitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    char line[64];
    std::snprintf(line, sizeof line, "ExitWindowsEx %u %u", static_cast<unsigned>(flags),
                  static_cast<unsigned>(reason));
    record(line);
    return true;
}

bool RecordingEffectsSystem::setSystemTime(const SystemTime& utc) {
    char line[64];
    std::snprintf(line, sizeof line, "SetSystemTime %04u-%02u-%02u %02u:%02u:%02u",
                  unsigned{utc.wYear}, unsigned{utc.wMonth}, unsigned{utc.wDay},
                  unsigned{utc.wHour}, unsigned{utc.wMinute}, unsigned{utc.wSecond});
    record(line);
    return true;
}

}  // namespace platform::win32
