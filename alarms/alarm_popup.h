// The alarm pop-up frmAlarm: a borderless window above all others that lists the hints of the
// alarms fired while it is open, flashing red; it plays the latest alarm's music in a loop (or
// beeps) and carries out its shut-down or input lock. A double-click removes a hint or closes it.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "kit/controls.h"
#include "kit/mmcontrol.h"

class FrmAlarm : public kit::Form {
public:
    // Design values: one line of 225 twips (15 pixels) in a 2520-twip window.
    static constexpr int kWidthTwips = 2520;
    static constexpr int kLineTwips = 225;
    static constexpr int kLinePx = 15;
    static constexpr int kExtraTwips = 85;
    static constexpr int kFlashMs = 80;
    static constexpr int kFlashStep = 10;
    static constexpr int16_t kBrightest = 255;
    static constexpr int16_t kDimmest = 80;
    static constexpr int16_t kShutdownSeconds = 60;
    static constexpr kit::Color kBackColor = 0xFFFFFF;

    FrmAlarm();

    // Adds the hint of the queue entry gFiredIndex (the caller has raised gHintCount).
    void AddHint();

    void tmrFlash_Timer();
    void tmrAction_Timer();
    void mciMedia_StatusUpdate();

    kit::PictureBox pbTextBuffer;
    kit::Label lblTestHint;
    kit::Timer tmrFlash;
    kit::Timer tmrAction;
    kit::MMControl mciMedia;

    int16_t mIntensity = kBrightest;
    bool mRising = false;
    std::string mMusic, mAction, mShutdownAction, mLockAction;
    int16_t mShutdownCountdown = 0, mLockCountdown = 0;
    bool mShutdownPending = false, mLockActive = false;
    int16_t mLastY = 0, mLastButton = 0;

protected:
    void Form_Load() override;
    void Form_MouseMove(int button, int shift, int x, int y) override;
    void Form_MouseDown(int button, int shift, int x, int y) override;
    void Form_DblClick() override;

private:
    void DrawHints(kit::Color color);
    void StartMusic(const std::string& music);
    void StopMusic();
    // The width of a line's text in the form's font, through lblTestHint.
    int HintWidth(int line);
    void CloseWindow();

    std::vector<std::pair<std::string, int>> mMeasured;  // each line's text and width
};

inline kit::FormInstance<FrmAlarm> frmAlarm;
