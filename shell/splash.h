// The start-up form: single-instance rule, default settings and the settings load.
#pragma once
#include "kit/controls.h"

class FrmSplash : public kit::Form {
public:
    void WriteDefaultSettings();
    void LoadSettings();
    // The store is complete once the defaults writer has written its last value.
    static bool SettingsStored();

protected:
    void Form_Load() override;
};

inline kit::FormInstance<FrmSplash> frmSplash;
