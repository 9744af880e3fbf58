// The program with recording fakes for input lock, shut-down, the clock setter and the shell
// (nothing is opened), asking a loopback daytime server for the time. TIVLO_SEARCH_HOST
// (host:port) sends keyword searches to a loopback server instead of the search engine.
// TIVLO_COUNTS=1 lets the tool tivlo_objcounts ask for the process's GDI and USER objects.
#include <cstdio>
#include <cstdlib>

#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "grabber/keyword.h"
#include "shell/daytime.h"
#include "app/smoke_counts.h"

namespace {

// Each request (an event the tool sets) is answered with one line in a shared text.
DWORD WINAPI AnswerCounts(void*) {
    const HANDLE request = CreateEventA(nullptr, FALSE, FALSE, smoke::kCountsRequest);
    const HANDLE done = CreateEventA(nullptr, FALSE, FALSE, smoke::kCountsDone);
    const HANDLE map = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, smoke::kCountsSize,
                                          smoke::kCountsText);
    char* text = map ? static_cast<char*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, smoke::kCountsSize)) : nullptr;
    if (!request || !done || !text) return 1;
    while (WaitForSingleObject(request, INFINITE) == WAIT_OBJECT_0) {
        const int gdi = bench::ProbeGdiHandles();
        const bench::UserObjects user = bench::ProbeUserObjects();
        std::snprintf(text, smoke::kCountsSize, "gdi %d user %d windows %d menus %d icons %d\n", gdi,
                      user.total(), user.windows, user.menus, user.icons);
        SetEvent(done);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static platform::win32::RecordingEffectsSystem system;
    static platform::win32::RecordingEffectsShell shell;
    daytime::gServer = {"127.0.0.1", TIVLO_SMOKE_DAYTIME_PORT};
    if (const char* host = std::getenv("TIVLO_SEARCH_HOST"); host && *host)
        gSearchEngineHost = host;
    if (const char* counts = std::getenv("TIVLO_COUNTS"); counts && *counts == '1')
        CloseHandle(CreateThread(nullptr, 0, AnswerCounts, nullptr, 0, nullptr));
    app::RunTivlo(system, &shell);
}
