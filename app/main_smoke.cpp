// The program with recording fakes for input lock, shut-down, the clock setter and the shell
// (nothing is opened), asking a loopback daytime server for the time.
#include "app/win32_app.h"
#include "shell/daytime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static platform::win32::RecordingEffectsSystem system;
    static platform::win32::RecordingEffectsShell shell;
    daytime::gServer = {"127.0.0.1", TIVLO_SMOKE_DAYTIME_PORT};
    app::RunTivlo(system, &shell);
}
