// frmFortune: the card game's window, opened from the tray menu; it holds ocxFortune.
#pragma once
#include "fortune/fortune_control.h"
#include "kit/controls.h"

class FrmFortune : public kit::Form {
public:
    FrmFortune();

    fortune::OcxFortune ocxFortune;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
};

inline kit::FormInstance<FrmFortune> frmFortune;
