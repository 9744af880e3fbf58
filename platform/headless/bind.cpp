#include "platform/headless/bind.h"

#include "kit/async_read.h"
#include "platform/services.h"

namespace platform::headless {

namespace {
HeadlessWorld* g_bound = nullptr;
}

HeadlessWorld::HeadlessWorld() {
    // The recycle bin: a deleted file moves into the trash folder under its own name.
    shell.trash = [this](const std::string& path) {
        auto bytes = files.read(path);
        if (!bytes || !files.remove(path)) return false;
        const std::size_t slash = path.find_last_of('\\');
        files.addFile(std::string(kTrashFolder) + "\\" + path.substr(slash + 1),
                      std::string(bytes->begin(), bytes->end()));
        return true;
    };
}

void HeadlessWorld::bind() {
    g_bound = this;
    backend.addEventSource(&network);
    kit::setBackend(&backend);
    kit::setGdi(&gdi);
    kit::headless::setMci(&mci);
    kit::headless::setFileDialogs(&fileDialogs);
    Services& s = services();
    s.registry = &registry;
    s.tray = &tray;
    s.system = &system;
    s.shell = &shell;
    s.network = &network;
    s.sound = &sound;
    s.gdiplus = &gdiplus;
    s.files = &files;
    s.mixer = &mixer;
    kit::setAsyncReader(&reader);
    // Pictures are decoded from the in-memory file system, as the platform reads its disk.
    gdi.setFileReader([this](const std::string& path) { return files.read(path); });
}

void HeadlessWorld::reset() {
    backend.reset();
    mci.reset();
    fileDialogs.reset();
    registry.clear();
    tray.reset();
    system.reset();
    shell.reset();
    network.reset();
    sound.reset();
    gdiplus.reset();
    files.clear();
    mixer.reset();
    reader.reset();
}

void HeadlessWorld::moveClockOnSet(int zoneOffsetMinutes) {
    system.setClockSetter([this, zoneOffsetMinutes](const SystemTime& t) {
        const kit::DateTime utc{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
        backend.setNow(kit::AddSeconds(utc, zoneOffsetMinutes * 60LL));
    });
}

HeadlessWorld::~HeadlessWorld() {
    backend.removeEventSource(&network);
    if (g_bound != this) return;
    g_bound = nullptr;
    kit::setBackend(nullptr);
    kit::setGdi(nullptr);
    kit::headless::setMci(nullptr);
    kit::headless::setFileDialogs(nullptr);
    kit::setAsyncReader(nullptr);
    services() = Services{};
}

}  // namespace platform::headless
