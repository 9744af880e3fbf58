// The program with recording fakes for input lock, shut-down and the clock setter.
#include "app/win32_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static platform::win32::RecordingEffectsSystem system;
    app::RunTivlo(system);
}
