#include "app/win32_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static platform::win32::Win32System system;
    app::RunTivlo(system);
}
