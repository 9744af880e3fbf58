#include "platform/headless/fake_system.h"

#include <cctype>
#include <cstring>

namespace platform::headless {

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

constexpr std::uint32_t kErrorInsufficientBuffer = 122;
constexpr std::uint32_t kErrorNoSuchPrivilege = 1313;

}  // namespace

void FakeSystem::reset() {
    version_ = OsVersionInfoEx{};
    version_.dwMajorVersion = 6;
    version_.dwMinorVersion = 1;
    version_.dwBuildNumber = 7601;
    version_.dwPlatformId = 2;
    std::strcpy(version_.szCSDVersion, "Service Pack 1");
    version_.wServicePackMajor = 1;
    version_.wProductType = 1;
    versionFails_ = false;
    versionThrowIn_ = 0;
    versionError_ = nullptr;
    clockRefused_ = false;
    clockSetter_ = nullptr;
    windows_.clear();
    privilegeErrors_.clear();
    lastError_ = 0;
    calls_.clear();
    shows_.clear();
    blocks_.clear();
    privilegeNames_.clear();
    adjusts_.clear();
    exits_.clear();
    times_.clear();
    closed_.clear();
}

bool FakeSystem::getVersionEx(OsVersionInfoEx& info) {
    calls_.push_back("getVersionEx");
    if (versionThrowIn_ > 0 && --versionThrowIn_ == 0) std::rethrow_exception(versionError_);
    if (versionFails_ || (info.dwOSVersionInfoSize != 156 && info.dwOSVersionInfoSize != 148)) {
        lastError_ = kErrorInsufficientBuffer;
        return false;
    }
    std::uint32_t size = info.dwOSVersionInfoSize;
    info = version_;
    info.dwOSVersionInfoSize = size;
    return true;
}

void FakeSystem::addWindow(kit::Handle parent, const std::string& className, kit::Handle window) {
    windows_[{parent, upper(className)}] = window;
}

kit::Handle FakeSystem::findWindow(const std::string& className) {
    calls_.push_back("findWindow");
    auto it = windows_.find({0, upper(className)});
    return it == windows_.end() ? 0 : it->second;
}

kit::Handle FakeSystem::findWindowEx(kit::Handle parent, const std::string& className) {
    calls_.push_back("findWindowEx");
    auto it = windows_.find({parent, upper(className)});
    return it == windows_.end() ? 0 : it->second;
}

bool FakeSystem::showWindow(kit::Handle window, int command) {
    calls_.push_back("showWindow");
    shows_.emplace_back(window, command);
    return true;
}

bool FakeSystem::blockInput(bool block) {
    calls_.push_back("blockInput");
    blocks_.push_back(block);
    return true;
}

bool FakeSystem::scripted(Privilege call, std::uint32_t& code) const {
    auto it = privilegeErrors_.find(call);
    if (it == privilegeErrors_.end()) return false;
    code = it->second;
    return true;
}

kit::Handle FakeSystem::getCurrentProcess() {
    calls_.push_back("getCurrentProcess");
    if (std::uint32_t code; scripted(Privilege::GetCurrentProcess, code)) lastError_ = code;
    return kProcessHandle;
}

bool FakeSystem::openProcessToken(kit::Handle process, std::uint32_t access,
                                  kit::Handle& token) {
    calls_.push_back("openProcessToken");
    if (std::uint32_t code; scripted(Privilege::OpenProcessToken, code)) {
        lastError_ = code;
        if (code != 0) return false;
    }
    token = kTokenHandle;
    return true;
}

bool FakeSystem::lookupPrivilegeValue(const std::string& systemName, const std::string& name,
                                      Luid& luid) {
    calls_.push_back("lookupPrivilegeValue");
    privilegeNames_.push_back(name);
    if (std::uint32_t code; scripted(Privilege::LookupPrivilegeValue, code)) {
        lastError_ = code;
        if (code != 0) return false;
    }
    // The well-known LUIDs of Windows.
    const std::string n = upper(name);
    if (n == "SESHUTDOWNPRIVILEGE")
        luid = Luid{19, 0};
    else if (n == "SESYSTEMTIMEPRIVILEGE")
        luid = Luid{12, 0};
    else {
        lastError_ = kErrorNoSuchPrivilege;
        return false;
    }
    return true;
}

bool FakeSystem::adjustTokenPrivileges(kit::Handle token, bool disableAll,
                                       const TokenPrivileges& newState, std::uint32_t bufferLength,
                                       TokenPrivileges* previousState,
                                       std::uint32_t* returnLength) {
    calls_.push_back("adjustTokenPrivileges");
    adjusts_.push_back(AdjustCall{token, disableAll, newState});
    std::uint32_t code = 0;
    scripted(Privilege::AdjustTokenPrivileges, code);
    // Windows sets the last error even on success.
    lastError_ = code;
    if (code != 0 && code != kErrorNotAllAssigned) return false;
    if (previousState && bufferLength >= sizeof(TokenPrivileges)) {
        *previousState = newState;
        previousState->attributes = 0;
    }
    if (returnLength) *returnLength = sizeof(TokenPrivileges);
    return true;
}

bool FakeSystem::closeHandle(kit::Handle handle) {
    calls_.push_back("closeHandle");
    closed_.push_back(handle);
    return true;
}

bool FakeSystem::exitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    calls_.push_back("exitWindowsEx");
    exits_.emplace_back(flags, reason);
    return true;
}

bool FakeSystem::setSystemTime(const SystemTime& utc) {
    calls_.push_back("setSystemTime");
    times_.push_back(utc);
    if (clockRefused_) {
        lastError_ = kErrorPrivilegeNotHeld;
        return false;
    }
    if (clockSetter_) clockSetter_(utc);
    return true;
}

}  // namespace platform::headless
