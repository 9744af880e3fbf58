// Counts the program's GDI and USER objects after the first redraw of the tray icons and again
// after 10,000 more (or the count given); exits 0 when nothing grew. Run under Wine by
// bench/gdi-leaks.sh.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "kit/datetime.h"
#include "app/win32_app.h"
#include "kit/win32/win32_gdi.h"
#include "shell/tivlo_form.h"
#include "shell/tray.h"

namespace {


// The toolkit's drawing calls, keeping the handles they create that are not freed yet.
// GetGuiResources is a stub under Wine, so this is the count that works everywhere.
class CountingGdi : public kit::win32::Win32Gdi {
public:
    kit::Handle getDC(kit::Handle w) override { return keep(Win32Gdi::getDC(w), "window DC"); }
    void releaseDC(kit::Handle w, kit::Handle dc) override {
        live_.erase(dc);
        Win32Gdi::releaseDC(w, dc);
    }
    kit::Handle createCompatibleDC(kit::Handle dc) override {
        return keep(Win32Gdi::createCompatibleDC(dc), "memory DC");
    }
    bool deleteDC(kit::Handle dc) override {
        live_.erase(dc);
        return Win32Gdi::deleteDC(dc);
    }
    kit::Handle createCompatibleBitmap(kit::Handle dc, int w, int h) override {
        return keep(Win32Gdi::createCompatibleBitmap(dc, w, h), "bitmap");
    }
    kit::Handle createBitmap(int w, int h, int planes, int bits) override {
        return keep(Win32Gdi::createBitmap(w, h, planes, bits), "bitmap");
    }
    kit::Handle createSolidBrush(kit::Color c) override {
        return keep(Win32Gdi::createSolidBrush(c), "brush");
    }
    kit::Handle createFont(const std::string& face, double points) override {
        return keep(Win32Gdi::createFont(face, points), "font");
    }
    bool deleteObject(kit::Handle o) override {
        live_.erase(o);
        return Win32Gdi::deleteObject(o);
    }
    kit::Handle createIconIndirect(const kit::IconInfo& info) override {
        return keep(Win32Gdi::createIconIndirect(info), "icon");
    }
    bool destroyIcon(kit::Handle icon) override {
        live_.erase(icon);
        return Win32Gdi::destroyIcon(icon);
    }
    kit::Handle createPictureIndirect(int type, kit::Handle handle, bool owned) override {
        kit::Handle picture = Win32Gdi::createPictureIndirect(type, handle, owned);
        if (picture) {
            live_[picture] = "picture";
            if (owned) owned_[picture] = handle;
        }
        return picture;
    }
    void releasePicture(kit::Handle picture) override {
        live_.erase(picture);
        auto it = owned_.find(picture);
        if (it != owned_.end()) {  // the picture frees its handle itself
            live_.erase(it->second);
            owned_.erase(it);
        }
        Win32Gdi::releasePicture(picture);
    }

    std::size_t live() const { return live_.size(); }
    void list() const {
        std::map<std::string, int> byKind;
        for (const auto& [handle, kind] : live_) ++byKind[kind];
        for (const auto& [kind, n] : byKind) std::printf("    %-10s %d\n", kind.c_str(), n);
    }

private:
    kit::Handle keep(kit::Handle h, const char* kind) {
        if (h) live_[h] = kind;
        return h;
    }
    std::map<kit::Handle, const char*> live_;
    std::map<kit::Handle, kit::Handle> owned_;
};

// Live GDI handles of this process found by asking GetObjectType about every handle index
// (a handle with a zero high word matches any generation of its slot).
int ProbeGdiHandles() {
    int n = 0;
    for (std::uintptr_t v = 1; v < 0x10000; ++v)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(v)) != 0) ++n;
    return n;
}

struct Counts {
    DWORD gdi, user;
    int probed;
    std::size_t wrapped;
};

Counts Measure(const CountingGdi& gdi) {
    HANDLE self = GetCurrentProcess();
    return {GetGuiResources(self, 0 /* GR_GDIOBJECTS */), GetGuiResources(self, 1 /* GR_USEROBJECTS */),
            ProbeGdiHandles(), gdi.live()};
}

void Redraw() {
    const kit::DateTime now = kit::Now();
    frmTivlo().TrayDispDateTime(kit::DateText(now), kit::TimeText(now));
}

}  // namespace

// Usage: tivlo_gdibench [REDRAWS]   (default 10000)
int main(int argc, char** argv) {
    const int redraws = argc > 1 ? std::atoi(argv[1]) : 10000;
    static CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system, &gdi);

    // Start-up up to the loaded main form, which draws and adds the icons.
    kit::win32::RunGuarded(shell::StartTivlo);
    Redraw();
    const Counts before = Measure(gdi);
    std::printf("after the first redraw:\n");
    gdi.list();

    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < redraws; ++i) Redraw();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const Counts after = Measure(gdi);
    std::printf("after %d more redraws (%.3f ms each):\n", redraws, redraws ? ms / redraws : 0.0);
    gdi.list();

    std::printf("GetGuiResources GDI objects:  %lu -> %lu\n", before.gdi, after.gdi);
    std::printf("GetGuiResources USER objects: %lu -> %lu\n", before.user, after.user);
    if (before.gdi == 0 && before.user == 0)
        std::printf("  (GetGuiResources returns 0 here: a stub, as under Wine)\n");
    std::printf("live GDI handles by probing:  %d -> %d\n", before.probed, after.probed);
    std::printf("handles held via kit::Gdi:    %zu -> %zu\n", before.wrapped, after.wrapped);
    const bool same = before.gdi == after.gdi && before.user == after.user &&
                      before.probed == after.probed && before.wrapped == after.wrapped;
    std::printf("%s\n", same ? "no growth" : "GROWTH");
    std::fflush(stdout);

    eTray::RemoveTrayIcons();
    ExitProcess(same ? 0 : 1);
}
