#include "platform/win32/win32_mixer.h"

#include <cstring>

#include "kit/win32/system_dlls.h"

namespace platform::win32 {

namespace {

// A zero-filled, locked global block, freed when it goes.
class Block {
public:
    explicit Block(SIZE_T bytes) : h_(GlobalAlloc(GHND, bytes)) {
        if (h_) p_ = GlobalLock(h_);
    }
    ~Block() {
        if (p_) GlobalUnlock(h_);
        if (h_) GlobalFree(h_);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    void* get() const { return p_; }

private:
    HGLOBAL h_;
    void* p_ = nullptr;
};

const kit::win32::MultimediaApi* mm() { return kit::win32::Multimedia(); }

HMIXEROBJ Obj(MixerHandle h) { return reinterpret_cast<HMIXEROBJ>(h); }

// The handle is always an open mixer's, never a device number.
constexpr DWORD kByHandle = MIXER_OBJECTF_HMIXER;

MMRESULT Details(MixerHandle mixer, std::uint32_t controlId, std::int32_t& value, bool set) {
    Block block(sizeof(MIXERCONTROLDETAILS_SIGNED));
    if (!block.get()) return MMSYSERR_NOMEM;
    auto* detail = static_cast<MIXERCONTROLDETAILS_SIGNED*>(block.get());
    if (set) detail->lValue = value;
    MIXERCONTROLDETAILS d{};
    d.cbStruct = sizeof d;
    d.dwControlID = controlId;
    d.cChannels = 1;
    d.cMultipleItems = 0;
    d.cbDetails = sizeof(MIXERCONTROLDETAILS_SIGNED);
    d.paDetails = detail;
    const DWORD flags = kByHandle | MIXER_GETCONTROLDETAILSF_VALUE;
    if (!mm()) return MMSYSERR_NODRIVER;
    const MMRESULT r = set ? mm()->mixerSetControlDetails(Obj(mixer), &d, flags)
                           : mm()->mixerGetControlDetailsA(Obj(mixer), &d, flags);
    if (!set) value = detail->lValue;
    return r;
}

}  // namespace

std::uint32_t Win32Mixer::open(unsigned device, MixerHandle& handle) {
    if (!mm()) return MMSYSERR_NODRIVER;
    HMIXER h = nullptr;
    const MMRESULT r = mm()->mixerOpen(&h, device, 0, 0, 0);
    if (r == MMSYSERR_NOERROR) handle = reinterpret_cast<MixerHandle>(h);
    return r;
}

std::uint32_t Win32Mixer::lineByComponent(MixerHandle mixer, std::uint32_t componentType,
                                          std::uint32_t& lineId) {
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    if (!mm()) return MMSYSERR_NODRIVER;
    const MMRESULT r =
        mm()->mixerGetLineInfoA(Obj(mixer), &line, kByHandle | MIXER_GETLINEINFOF_COMPONENTTYPE);
    if (r == MMSYSERR_NOERROR) lineId = line.dwLineID;
    return r;
}

std::uint32_t Win32Mixer::controlByType(MixerHandle mixer, std::uint32_t lineId,
                                        std::uint32_t controlType, MixerControl& control) {
    Block block(sizeof(MIXERCONTROLA));
    if (!block.get()) return MMSYSERR_NOMEM;
    auto* found = static_cast<MIXERCONTROLA*>(block.get());
    found->cbStruct = sizeof(MIXERCONTROLA);
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = lineId;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = found;
    if (!mm()) return MMSYSERR_NODRIVER;
    const MMRESULT r =
        mm()->mixerGetLineControlsA(Obj(mixer), &controls, kByHandle | MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (r != MMSYSERR_NOERROR) return r;
    control.controlId = found->dwControlID;
    control.controlType = found->dwControlType;
    control.minimum = found->Bounds.lMinimum;
    control.maximum = found->Bounds.lMaximum;
    control.name.assign(found->szName, strnlen(found->szName, sizeof found->szName));
    return r;
}

std::uint32_t Win32Mixer::getValue(MixerHandle mixer, std::uint32_t controlId,
                                   std::int32_t& value) {
    std::int32_t v = 0;
    const MMRESULT r = Details(mixer, controlId, v, false);
    if (r == MMSYSERR_NOERROR) value = v;
    return r;
}

std::uint32_t Win32Mixer::setValue(MixerHandle mixer, std::uint32_t controlId,
                                   std::int32_t value) {
    return Details(mixer, controlId, value, true);
}

std::uint32_t Win32Mixer::close(MixerHandle mixer) {
    if (!mm()) return MMSYSERR_NODRIVER;
    return mm()->mixerClose(reinterpret_cast<HMIXER>(mixer));
}

}  // namespace platform::win32
