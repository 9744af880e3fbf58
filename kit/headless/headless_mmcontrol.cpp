#include "kit/headless/headless_mmcontrol.h"

#include <cassert>

#include "kit/mmcontrol.h"

namespace kit::headless {

namespace {
HeadlessMci* g_mci = nullptr;
}

HeadlessMci& mci() {
    assert(g_mci && "no headless sound system bound");
    return *g_mci;
}

void setMci(HeadlessMci* m) { g_mci = m; }

void HeadlessMci::addFile(const std::string& file, long length) { files_[file].length = length; }

void HeadlessMci::setOpenError(const std::string& file, int error) { files_[file].openError = error; }

void HeadlessMci::setPlayError(const std::string& file, int error) { files_[file].playError = error; }

void HeadlessMci::finishPlaying() {
    for (auto& [id, d] : devices_) d.playing = false;
}

std::string HeadlessMci::playing() const {
    for (const auto& [id, d] : devices_)
        if (d.playing) return d.file;
    return {};
}

void HeadlessMci::reset() {
    files_.clear();
    devices_.clear();
    commands_.clear();
}

int HeadlessMci::open(const std::string& file) {
    record("open " + file);
    auto it = files_.find(file);
    if (it == files_.end()) return -kErrFileNotFound;
    if (it->second.openError) return -it->second.openError;
    const int id = nextDevice_++;
    devices_[id] = Device{file, false};
    return id;
}

int HeadlessMci::play(int id) {
    Device* d = device(id);
    if (!d) return kErrCannotPlay;
    record("play " + d->file);
    if (int error = files_[d->file].playError) return error;
    d->playing = true;
    return 0;
}

void HeadlessMci::close(int id) {
    auto it = devices_.find(id);
    if (it == devices_.end()) return;
    record("close " + it->second.file);
    devices_.erase(it);
}

HeadlessMci::Device* HeadlessMci::device(int id) {
    auto it = devices_.find(id);
    return it == devices_.end() ? nullptr : &it->second;
}

long HeadlessMci::lengthOf(const std::string& file) const {
    auto it = files_.find(file);
    return it == files_.end() ? 0 : it->second.length;
}

namespace {

class HeadlessMciPeer : public MciPeer {
public:
    ~HeadlessMciPeer() override { HeadlessMciPeer::close(); }
    int open(const std::string& file) override {
        const int r = mci().open(file);
        if (r < 0) return -r;
        id_ = r;
        return 0;
    }
    int setTimeFormat(int format) override {
        if (!id_) return HeadlessMci::kErrCannotPlay;
        mci().record("time format " + std::to_string(format));
        return 0;
    }
    int play() override { return mci().play(id_); }
    void close() override {
        if (!id_) return;
        mci().close(id_);
        id_ = 0;
    }
    int mode() override {
        HeadlessMci::Device* d = mci().device(id_);
        if (!d) return kMciModeNotOpen;
        return d->playing ? kMciModePlay : kMciModeStop;
    }
    long length() override {
        HeadlessMci::Device* d = mci().device(id_);
        return d ? mci().lengthOf(d->file) : 0;
    }
    std::string errorText(int error) override {
        return "headless multimedia error " + std::to_string(error);
    }

private:
    int id_ = 0;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<MciPeer> NewMciPeer() { return std::make_unique<headless::HeadlessMciPeer>(); }
}  // namespace kit
