// Small services from the operating system: version code, weekday masks, the taskbar clock,
// input lock and shut-down.
#pragma once
#include <cstdint>

namespace eSystem {
// 0 = Windows 2000 (also a 6.0 server and a failed query), 1 = XP, 2 = Vista, 3 = any other.
int16_t GetWindowsVersion();
// days[i] := bit i of mask, Sunday first.
void DecodeWeekMask(int16_t days[7], int16_t mask);
// Floor modulo: the result takes the sign of b.
int16_t IntMod(int16_t a, int16_t b);
void HideTrayClock();
void ShowTrayClock();
void LockInput();
void UnlockInput();
void ShutDownComputer();
void EnableShutdownPrivilege();
}  // namespace eSystem
