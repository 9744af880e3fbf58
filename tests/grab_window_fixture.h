// A started program with a download folder in memory, and the grab window opened from the tray
// as a user would.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "grabber/grab_state.h"
#include "grabber/resource_form.h"
#include "grabber/resource_state.h"
#include "program_fixture.h"
#include "shell/tivlo_form.h"

constexpr const char* kPics = "C:\\Pics";

// A 24-bit bottom-up BMP of one colour (0x00BBGGRR).
inline std::string SolidBmp(int width, int height, std::uint32_t colour) {
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(stride * height);
    std::string b;
    auto u16 = [&](std::uint32_t v) {
        b.push_back(static_cast<char>(v & 0xFF));
        b.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    b += "BM";
    u32(54 + dataSize);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height));
    u16(1);
    u16(24);
    u32(0);
    u32(dataSize);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.push_back(static_cast<char>((colour >> 16) & 0xFF));  // blue
            b.push_back(static_cast<char>((colour >> 8) & 0xFF));   // green
            b.push_back(static_cast<char>(colour & 0xFF));          // red
        }
        b.append(static_cast<std::size_t>(stride - width * 3), '\0');
    }
    return b;
}

class GrabWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_FALSE(Start());
        gDownloadFolder = gListedFolder = kPics;
        world.files.addFolder(kPics);
        // No type chosen yet: the tests tick what they need.
        gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = false;
        gLimitImageSize = gLimitImageFileSize = false;
    }

    // n small pictures named p00.bmp, p01.bmp, ...
    void AddPictures(int n, int first = 0) {
        for (int i = first; i < first + n; ++i) AddPicture(Name(i), SolidBmp(8, 8, 0x0000FF));
    }
    static std::string Name(int i) {
        return std::string("p") + static_cast<char>('0' + i / 10) + static_cast<char>('0' + i % 10) +
               ".bmp";
    }
    void AddPicture(const std::string& name, const std::string& bytes) {
        world.files.addFile(std::string(kPics) + "\\" + name, bytes);
    }

    FrmResource& Open() {
        ChooseFromTray("&Picture Grabbing");
        EXPECT_TRUE(frmResource.Loaded());
        return frmResource();
    }

    // Types ticked and an address typed, as the user would before a start.
    void ChooseGif(FrmResource& w) { world.backend.click(w.ocxResource.chkImage(0).hWnd()); }
    void TypeWebsite(FrmResource& w, const std::string& url) {
        world.backend.focus(w.ocxResource.txtWebsiteURL.hWnd());
        w.ocxResource.txtWebsiteURL.setText(url);
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& c : world.backend.msgBoxCalls()) out.push_back(c.text);
        return out;
    }
};
