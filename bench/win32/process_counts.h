// Threads and open handles of this process, for the programs that watch what a run leaves
// behind under Wine (where GetProcessHandleCount gives 0).
#pragma once
#include <windows.h>
// After windows.h:
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Private bytes in MB: PrivateUsage where the system fills it in; Wine leaves it 0 and gives the
// process's anonymous (private) resident memory as PagefileUsage.
inline double PrivateMb() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    const SIZE_T bytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    return bytes / (1024.0 * 1024.0);
}

inline int CountThreads() {
    int n = 0;
    const HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    for (BOOL more = Thread32First(snap, &t); more; more = Thread32Next(snap, &t))
        if (t.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

// The open handles, found by probing the handle values: small multiples of 4 under Wine as on
// Windows.
inline std::vector<std::uintptr_t> LiveHandles() {
    std::vector<std::uintptr_t> live;
    DWORD flags = 0;
    for (std::uintptr_t h = 4; h < 16384; h += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) live.push_back(h);
    return live;
}

inline unsigned long CountHandles() {
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0) return n;
    return static_cast<unsigned long>(LiveHandles().size());
}

// The object type of a handle ("Event", "File", ...), to tell what was left open.
inline std::string HandleType(std::uintptr_t h) {
    using QueryObject = NTSTATUS(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    constexpr int kObjectTypeInformation = 2;
    alignas(8) char info[1024] = {};
    ULONG size = 0;
    if (!query ||
        query(reinterpret_cast<HANDLE>(h), kObjectTypeInformation, info, sizeof info, &size) != 0)
        return "?";
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(info);
    char text[128] = {};
    WideCharToMultiByte(CP_ACP, 0, name->Buffer, name->Length / 2, text, sizeof text - 1, nullptr,
                        nullptr);
    return text;
}

// "Event at 0xd4, ..." for each handle open now that was not in before.
inline std::string NewHandles(const std::vector<std::uintptr_t>& before) {
    std::string list;
    char at[32];
    for (std::uintptr_t h : LiveHandles()) {
        if (std::find(before.begin(), before.end(), h) != before.end()) continue;
        std::snprintf(at, sizeof at, " at %#lx", static_cast<unsigned long>(h));
        list += (list.empty() ? "" : ", ") + HandleType(h) + at;
    }
    return list;
}

}  // namespace bench
