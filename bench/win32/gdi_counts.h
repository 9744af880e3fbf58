// Counts of a process's drawing objects for the benchmarks that run under Wine: the handles
// made through kit::Gdi and not freed yet, GDI handles found by probing, and GetGuiResources.
#pragma once
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "kit/win32/win32_gdi.h"

namespace bench {

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
    kit::Handle createBitmapFromPixels(int w, int h, const unsigned char* bgr) override {
        return keep(Win32Gdi::createBitmapFromPixels(w, h, bgr), "bitmap");
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
inline int ProbeGdiHandles() {
    int n = 0;
    for (std::uintptr_t v = 1; v < 0x10000; ++v)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(v)) != 0) ++n;
    return n;
}

// USER objects of this process found by probing the handle values: windows, menus, icons and
// cursors (GetGuiResources is a stub under Wine). User handles are (index << 1) + 0x20 there;
// a zero high word matches any generation of its slot.
struct UserObjects {
    int windows = 0, menus = 0, icons = 0;
    int total() const { return windows + menus + icons; }
};
inline UserObjects ProbeUserObjects() {
    UserObjects n;
    const DWORD self = GetCurrentProcessId();
    for (std::uintptr_t v = 0x20; v < 0x10000; v += 2) {
        const HWND w = reinterpret_cast<HWND>(v);
        DWORD pid = 0;
        if (IsWindow(w)) {
            if (GetWindowThreadProcessId(w, &pid) && pid == self) ++n.windows;
        } else if (IsMenu(reinterpret_cast<HMENU>(v))) {
            ++n.menus;
        } else {
            ICONINFO info{};
            if (GetIconInfo(reinterpret_cast<HICON>(v), &info)) {
                ++n.icons;
                if (info.hbmMask) DeleteObject(info.hbmMask);
                if (info.hbmColor) DeleteObject(info.hbmColor);
            }
        }
    }
    return n;
}

struct Counts {
    DWORD gdi, user;
    int probed;
    std::size_t wrapped;
};

inline Counts Measure(const CountingGdi& gdi) {
    HANDLE self = GetCurrentProcess();
    return {GetGuiResources(self, 0 /* GR_GDIOBJECTS */), GetGuiResources(self, 1 /* GR_USEROBJECTS */),
            ProbeGdiHandles(), gdi.live()};
}

}  // namespace bench
