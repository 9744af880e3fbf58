// Plays sound files through the multimedia control the way the alarm pop-up does, and prints
// what the control reported, one line per file:
//   FILE: length L ms, mode after open M, ended after N status events (mode 525)
//   FILE: error TEXT, mode 524
// The Wine smoke case reads these lines.
//
// Usage: tivlo_mciplay FILE...
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/win32_app.h"
#include "kit/mmcontrol.h"
#include "kit/runtime.h"

namespace {

constexpr unsigned kUpdateMs = 50;
constexpr DWORD kGiveUpMs = 30000;

struct Player : kit::Form {
    Player() : media(this) {
        media.StatusUpdate = [this] {
            ++updates;
            if (media.Mode() == kit::kMciModeStop) ended = true;
        };
    }
    kit::MMControl media;
    int updates = 0;
    bool ended = false;
};
kit::FormInstance<Player> player;

void Play(const std::string& file) {
    Player& p = player();
    kit::MMControl& m = p.media;
    p.updates = 0;
    p.ended = false;
    try {
        m.setTimeFormat(kit::kMciFormatMilliseconds);
        m.setUpdateInterval(kUpdateMs);
        m.setFileName(file);
        m.setCommand("Open");
        const int opened = m.Mode();
        const long length = m.Length();
        m.setCommand("Play");
        const DWORD start = GetTickCount();
        while (!p.ended && GetTickCount() - start < kGiveUpMs) {
            kit::DoEvents();
            Sleep(5);
        }
        std::printf("%s: length %ld ms, mode after open %d, %s after %d status events (mode %d)\n",
                    file.c_str(), length, opened, p.ended ? "ended" : "NOT ENDED", p.updates,
                    m.Mode());
        m.setCommand("Close");
    } catch (const kit::RuntimeError& e) {
        std::printf("%s: error %s, mode %d\n", file.c_str(), e.what(), m.Mode());
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system);
    for (int i = 1; i < argc; ++i) Play(argv[i]);
    ExitProcess(0);  // the bound toolkit lives until the process ends
}
