// The program with recording fakes for input lock, shut-down, the clock setter and the shell
// (nothing is opened), asking a loopback daytime server for the time. TIVLO_SEARCH_HOST
// (host:port) sends keyword searches to a loopback server instead of the search engine.
#include <cstdlib>

#include "app/win32_app.h"
#include "grabber/keyword.h"
#include "shell/daytime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static platform::win32::RecordingEffectsSystem system;
    static platform::win32::RecordingEffectsShell shell;
    daytime::gServer = {"127.0.0.1", TIVLO_SMOKE_DAYTIME_PORT};
    if (const char* host = std::getenv("TIVLO_SEARCH_HOST"); host && *host)
        gSearchEngineHost = host;
    app::RunTivlo(system, &shell);
}
