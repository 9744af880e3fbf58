// Start-up shared by the product and the smoke exe: they differ only in the System and the
// shell bound.
#pragma once
#include <windows.h>

#include "kit/win32/win32_backend.h"
#include "kit/win32/win32_gdi.h"
#include "kit/win32/wininet_reader.h"
#include "platform/services.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_gdiplus.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_mixer.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_tray.h"
#include "shell/start.h"

namespace app {

// Binds the Win32 toolkit and services, with the given System (and drawing layer and shell,
// when not plain GDI and the real shell), for the whole process.
inline kit::win32::Win32Backend& BindWin32(platform::System& system, kit::Gdi* drawing = nullptr,
                                           platform::Shell* shell = nullptr) {
    // Live for the whole process: it ends through ExitProcess, never by returning.
    static kit::win32::Win32Backend backend;
    static kit::win32::Win32Gdi gdi;
    static platform::win32::Win32Registry registry;
    static platform::win32::Win32Tray tray;
    static platform::win32::Win32Shell shellService;
    static platform::win32::Win32Network network;
    static platform::win32::Win32Sound sound;
    static platform::win32::Win32GdiPlus gdiplus;
    static platform::win32::Win32Files files;
    static platform::win32::Win32Mixer mixer;
    static kit::win32::WinInetReader reader;

    kit::setBackend(&backend);
    kit::setGdi(drawing ? drawing : &gdi);
    platform::Services& s = platform::services();
    s.registry = &registry;
    s.tray = &tray;
    s.system = &system;
    s.shell = shell ? shell : &shellService;
    s.network = &network;
    s.sound = &sound;
    s.gdiplus = &gdiplus;
    s.files = &files;
    s.mixer = &mixer;
    kit::setAsyncReader(&reader);
    // The DLLs of COM, the common controls, the network and sound are loaded by the first
    // feature that needs them (kit/win32/system_dlls.h).
    return backend;
}

[[noreturn]] inline void RunTivlo(platform::System& system, platform::Shell* shell = nullptr) {
    kit::win32::Win32Backend& backend = BindWin32(system, nullptr, shell);
    kit::win32::RunGuarded(shell::StartTivlo);
    backend.run();
}

}  // namespace app
