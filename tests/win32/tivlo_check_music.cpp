// The pieces behind the alarm music page on Windows: the speaker volume through the mixer
// (whatever sound device the machine has), edges drawn as the headless raster draws them, and
// the file-open dialog answered by a user typing a path or cancelling.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "kit/commondialog.h"
#include "kit/gdi.h"
#include "platform/win32/win32_mixer.h"
#include "tests/win32/check.h"
#include "tests/win32/kit_bind.h"

namespace {

CHECK_CASE(the_mixer_either_refuses_at_open_or_gives_a_working_speaker_volume) {
    platform::win32::Win32Mixer mixer;
    platform::MixerHandle h = 0;
    const std::uint32_t opened = mixer.open(0, h);
    if (opened != 0) {
        // No sound device: the handle is left alone and nothing else works on it.
        CHECK_EQ(h, platform::MixerHandle(0));
        std::uint32_t line = 0;
        CHECK(mixer.lineByComponent(h, platform::kMixerComponentSpeakers, line) != 0);
        std::int32_t v = 0;
        CHECK(mixer.getValue(h, 1, v) != 0);
        CHECK(mixer.setValue(h, 1, 0) != 0);
        return;
    }
    CHECK(h != 0);
    std::uint32_t line = 0;
    CHECK_EQ(mixer.lineByComponent(h, platform::kMixerComponentSpeakers, line), 0u);
    platform::MixerControl c;
    CHECK_EQ(mixer.controlByType(h, line, platform::kMixerControlVolume, c), 0u);
    CHECK_EQ(c.controlType, platform::kMixerControlVolume);
    CHECK(c.minimum < c.maximum);
    std::int32_t before = -1;
    CHECK_EQ(mixer.getValue(h, c.controlId, before), 0u);
    CHECK(before >= c.minimum && before <= c.maximum);
    CHECK_EQ(mixer.setValue(h, c.controlId, c.minimum), 0u);
    std::int32_t now = -1;
    CHECK_EQ(mixer.getValue(h, c.controlId, now), 0u);
    CHECK_EQ(now, c.minimum);
    CHECK_EQ(mixer.setValue(h, c.controlId, before), 0u);
    CHECK_EQ(mixer.close(h), 0u);
}

CHECK_CASE(a_sunken_edge_is_shadow_above_and_left_and_highlight_below_and_right) {
    check::BindKit();
    kit::Gdi& g = kit::gdi();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 20, 10);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    kit::Rect rc;
    CHECK(g.setRect(rc, 0, 0, 20, 10));
    CHECK((rc == kit::Rect{0, 0, 20, 10}));
    CHECK(g.drawEdge(reinterpret_cast<kit::Handle>(dc), rc, kit::kBdrSunkenOuter, kit::kBfRect));
    CHECK_EQ(GetPixel(dc, 5, 0), GetSysColor(COLOR_3DSHADOW));
    CHECK_EQ(GetPixel(dc, 0, 5), GetSysColor(COLOR_3DSHADOW));
    CHECK_EQ(GetPixel(dc, 19, 5), GetSysColor(COLOR_3DHILIGHT));
    CHECK_EQ(GetPixel(dc, 5, 9), GetSysColor(COLOR_3DHILIGHT));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

// Answers the next file dialog of this process: types the path and presses Open, or cancels.
void AnswerDialog(std::string path, bool cancel) {
    const DWORD pid = GetCurrentProcessId();
    for (int tries = 0; tries < 200; ++tries) {
        Sleep(50);
        HWND dlg = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
             w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) dlg = w;
        }
        if (!dlg) continue;
        if (!cancel) {
            // The name box of the explorer-style dialog, or of the old one.
            if (!SetDlgItemTextA(dlg, 0x47C, path.c_str())) SetDlgItemTextA(dlg, 0x480, path.c_str());
        }
        PostMessageA(dlg, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
        return;
    }
}

CHECK_CASE(the_file_dialog_returns_a_typed_path_and_nothing_on_cancel) {
    check::BindKit();
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string file = std::string(dir) + "tivlo_check_music.wav";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);

    kit::OpenFileRequest r;
    r.flags = kit::kCdlOfnCreatePrompt;
    r.filter = "*.wav,*.mp3|*.wav;*.mp3|";
    std::thread user(AnswerDialog, file, false);
    const std::optional<std::string> chosen = kit::ShowOpenFileDialog(r);
    user.join();
    CHECK(chosen.has_value());
    if (chosen) CHECK(lstrcmpiA(chosen->c_str(), file.c_str()) == 0);

    std::thread canceller(AnswerDialog, std::string(), true);
    CHECK(!kit::ShowOpenFileDialog(r).has_value());
    canceller.join();
    DeleteFileA(file.c_str());
}

}  // namespace
