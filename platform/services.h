// The platform services the program is bound to at start.
#pragma once
#include "platform/gdiplus.h"
#include "platform/network.h"
#include "platform/files.h"
#include "platform/mixer.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "platform/tray.h"

namespace platform {

struct Services {
    Registry* registry = nullptr;
    Tray* tray = nullptr;
    System* system = nullptr;
    Shell* shell = nullptr;
    Network* network = nullptr;
    Sound* sound = nullptr;
    GdiPlus* gdiplus = nullptr;
    Files* files = nullptr;
    Mixer* mixer = nullptr;
};

Services& services();
inline Registry& registry() { return *services().registry; }
inline Tray& tray() { return *services().tray; }
inline System& sys() { return *services().system; }
inline Shell& shell() { return *services().shell; }
inline Network& network() { return *services().network; }
inline Sound& sound() { return *services().sound; }
inline GdiPlus& gdiplus() { return *services().gdiplus; }
inline Files& files() { return *services().files; }
inline Mixer& mixer() { return *services().mixer; }

}  // namespace platform
