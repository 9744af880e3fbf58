// Asks the smoke exe (started with TIVLO_COUNTS=1) for its GDI and USER objects and writes its
// answer into the file named last. Exits 1 when no answer came within 10 s.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/smoke_counts.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const HANDLE request = OpenEventA(EVENT_MODIFY_STATE, FALSE, smoke::kCountsRequest);
    const HANDLE done = OpenEventA(SYNCHRONIZE, FALSE, smoke::kCountsDone);
    const HANDLE map = OpenFileMappingA(FILE_MAP_READ, FALSE, smoke::kCountsText);
    const char* text = map ? static_cast<const char*>(MapViewOfFile(map, FILE_MAP_READ, 0, 0, smoke::kCountsSize)) : nullptr;
    if (!request || !done || !text) return 1;
    SetEvent(request);
    if (WaitForSingleObject(done, 10000) != WAIT_OBJECT_0) return 1;
    const std::string answer(text, strnlen(text, smoke::kCountsSize));
    std::FILE* out = std::fopen(argv[argc - 1], "wb");
    if (!out) return 1;
    std::fputs(answer.c_str(), out);
    std::fclose(out);
    return 0;
}
