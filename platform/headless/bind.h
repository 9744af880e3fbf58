// Everything a native test needs behind the toolkit and platform interfaces.
#pragma once
#include "kit/headless/headless_backend.h"
#include "kit/headless/headless_commondialog.h"
#include "kit/headless/headless_mmcontrol.h"
#include "kit/headless/raster_gdi.h"
#include "platform/headless/fake_gdiplus.h"
#include "kit/headless/scripted_reader.h"
#include "platform/headless/fake_system.h"
#include "platform/headless/memory_files.h"
#include "platform/headless/memory_registry.h"
#include "platform/headless/recording_shell.h"
#include "platform/headless/recording_sound.h"
#include "platform/headless/scripted_mixer.h"
#include "platform/headless/recording_tray.h"
#include "platform/headless/scripted_network.h"

namespace platform::headless {

struct HeadlessWorld {
    kit::headless::HeadlessBackend backend;
    kit::headless::RasterGdi gdi;
    kit::headless::HeadlessMci mci;
    kit::headless::HeadlessFileDialogs fileDialogs;
    MemoryRegistry registry;
    RecordingTray tray;
    FakeSystem system;
    RecordingShell shell;
    ScriptedNetwork network{backend};
    RecordingSound sound;
    FakeGdiPlus gdiplus{gdi};
    MemoryFiles files;
    ScriptedMixer mixer;
    kit::headless::ScriptedReader reader{backend};

    // Where the headless recycle bin keeps deleted files.
    static constexpr const char* kTrashFolder = "C:\\Recycled";

    HeadlessWorld();
    HeadlessWorld(const HeadlessWorld&) = delete;
    HeadlessWorld& operator=(const HeadlessWorld&) = delete;
    // Unbinds everything when this world is the one bound last.
    ~HeadlessWorld();

    // Makes this world the one kit::backend(), kit::gdi() and platform::services() return.
    void bind();
    // The clock setter moves the virtual clock: local time = the UTC time given + the zone's
    // offset.
    void moveClockOnSet(int zoneOffsetMinutes);
    // Back to a fresh state: recordings, scripts and the registry cleared. The raster keeps
    // its objects (their owners still free them), so compare its counts with a baseline.
    void reset();
};

}  // namespace platform::headless
