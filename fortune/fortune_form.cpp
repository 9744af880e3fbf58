#include "fortune/fortune_form.h"

#include "shell/tivlo_form.h"

namespace {
constexpr int kWidthTwips = 5700, kHeightTwips = 6900;
constexpr kit::Color kLightGrey = 0xC0C0C0;
}  // namespace

FrmFortune::FrmFortune() : ocxFortune(this) {
    setCaption("Fortune-telling");
    setBorderStyle(kit::kBorderFixedDialog);
    setBackColor(kLightGrey);
}

void FrmFortune::Form_Load() {
    setWidth(kWidthTwips);
    setHeight(kHeightTwips);
}

void FrmFortune::Form_QueryUnload(int& cancel, int unloadMode) {
    // The tray item stays disabled while the window is open.
    if (frmTivlo.Loaded()) frmTivlo().mnuFortune.Enabled = true;
}
