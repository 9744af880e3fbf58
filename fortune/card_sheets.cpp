// Expanding the card sheets compiled into the program.
#include "fortune/card_sheets.h"

namespace fortune {

std::vector<unsigned char> SheetBgr(const SheetPixels& sheet) {
    const std::size_t size = std::size_t(sheet.width) * std::size_t(sheet.height) * 3;
    std::vector<unsigned char> bgr(size, 0);
    std::size_t at = 0;
    for (std::size_t i = 0; i + 4 <= sheet.runBytes && at < size; i += 4) {
        const unsigned char* run = sheet.runs + i;
        for (int n = run[0]; n > 0 && at < size; --n, at += 3) {
            bgr[at] = run[1];
            bgr[at + 1] = run[2];
            bgr[at + 2] = run[3];
        }
    }
    return bgr;
}

}  // namespace fortune
