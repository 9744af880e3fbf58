#include "platform/win32/win32_mixer.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

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
    const MMRESULT r = set ? mixerSetControlDetails(Obj(mixer), &d, flags)
                           : mixerGetControlDetailsA(Obj(mixer), &d, flags);
    if (!set) value = detail->lValue;
    return r;
}

}  // namespace

std::uint32_t Win32Mixer::open(unsigned device, MixerHandle& handle) {
    HMIXER h = nullptr;
    const MMRESULT r = mixerOpen(&h, device, 0, 0, 0);
    if (r == MMSYSERR_NOERROR) handle = reinterpret_cast<MixerHandle>(h);
    return r;
}

std::uint32_t Win32Mixer::lineByComponent(MixerHandle mixer, std::uint32_t componentType,
                                          std::uint32_t& lineId) {
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    const MMRESULT r =
        mixerGetLineInfoA(Obj(mixer), &line, kByHandle | MIXER_GETLINEINFOF_COMPONENTTYPE);
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
    const MMRESULT r =
        mixerGetLineControlsA(Obj(mixer), &controls, kByHandle | MIXER_GETLINECONTROLSF_ONEBYTYPE);
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
    return mixerClose(reinterpret_cast<HMIXER>(mixer));
}

}  // namespace platform::win32
