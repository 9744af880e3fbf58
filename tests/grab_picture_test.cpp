#include <gtest/gtest.h>

#include "grabber/grab_state.h"
#include "grabber/parse_web.h"
#include "program_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Gif(int w, int h, std::size_t size = 64) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a', Bytes::value_type(w & 0xFF), Bytes::value_type(w >> 8),
               Bytes::value_type(h & 0xFF), Bytes::value_type(h >> 8)};
    b.resize(std::max(size, b.size()), 0);
    return b;
}
Bytes Bmp(int w, int h) {
    Bytes b(64, 0);
    b[0] = 'B', b[1] = 'M';
    for (int i = 0; i < 4; ++i) b[18 + i] = (std::uint32_t(w) >> (8 * i)) & 0xFF, b[22 + i] = (std::uint32_t(h) >> (8 * i)) & 0xFF;
    return b;
}
Bytes Png(int w, int h) {
    Bytes b(64, 0);
    b[0] = 0x89, b[1] = 'P', b[2] = 'N', b[3] = 'G';
    for (int i = 0; i < 4; ++i) b[16 + i] = (std::uint32_t(w) >> (24 - 8 * i)) & 0xFF, b[20 + i] = (std::uint32_t(h) >> (24 - 8 * i)) & 0xFF;
    return b;
}
// A JPEG with an APP0 segment and a frame header of the given marker.
Bytes Jpeg(int marker, int w, int h, Bytes app = {}) {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, Bytes::value_type(2 + app.size())};
    b.insert(b.end(), app.begin(), app.end());
    Bytes sof = {0xFF, Bytes::value_type(marker), 0x00, 0x11, 0x08, Bytes::value_type(h >> 8), Bytes::value_type(h & 0xFF),
                 Bytes::value_type(w >> 8), Bytes::value_type(w & 0xFF), 0x03};
    b.insert(b.end(), sof.begin(), sof.end());
    b.resize(b.size() + 30, 0);
    b.push_back(0xFF), b.push_back(0xD9);
    return b;
}

class PictureTest : public ProgramTest {
protected:
    ParseWeb web{nullptr};
    void SetUp() override {
        ProgramTest::SetUp();
        gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = true;
        gImageWidth = gImageHeight = 300;
        gImageFileSizeKB = 10;
        gDownloadFileName = "Catch";
        gDownloadFolder = "C:\\Pics";
        world.files.addFolder(gDownloadFolder);
    }
    bool Save(const Bytes& d, const std::string& address = "http://h/d/p.jpg", std::int32_t bytesMax = 0) {
        return web.SaveImageData(d, "RES$" + address, bytesMax, address);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> n;
        for (auto& [path, bytes] : world.files.files()) n.push_back(path);
        return n;
    }
};

TEST_F(PictureTest, SignaturesAgainstTheirSwitches) {
    EXPECT_EQ(MatchPictureType(Gif(1, 1)), PictureType::Gif);
    EXPECT_EQ(MatchPictureType(Bmp(1, 1)), PictureType::Bmp);
    EXPECT_EQ(MatchPictureType(Png(1, 1)), PictureType::Png);
    EXPECT_EQ(MatchPictureType(Jpeg(0xC0, 1, 1)), PictureType::Jpeg);
    EXPECT_EQ(MatchPictureType(Bytes{'G', 'I', 'F', '7'}), PictureType::None);
    gDownloadJPG = false;
    EXPECT_EQ(MatchPictureType(Jpeg(0xC0, 1, 1)), PictureType::Jpeg);  // either JPEG switch will do
    gDownloadJPEG = false;
    EXPECT_EQ(MatchPictureType(Jpeg(0xC0, 1, 1)), PictureType::None);
    gDownloadGIF = false;
    EXPECT_EQ(MatchPictureType(Gif(1, 1)), PictureType::None);

    // Saved by what the bytes are, not by the address; JPEG data always as ".jpg".
    gDownloadJPG = true;
    EXPECT_TRUE(Save(Jpeg(0xC0, 1, 1), "http://h/a.jpeg"));
    gDownloadGIF = true;
    EXPECT_TRUE(Save(Gif(1, 1), "http://h/a.jpg"));
    EXPECT_TRUE(Save(Png(1, 1)));
    EXPECT_TRUE(Save(Bmp(1, 1)));
    EXPECT_EQ(Names(), (std::vector<std::string>{"C:\\Pics\\Catch00000.bmp", "C:\\Pics\\Catch00000.gif",
                                                 "C:\\Pics\\Catch00000.jpg", "C:\\Pics\\Catch00000.png"}));
    EXPECT_EQ(gSavedPictureCount, 4);
}

TEST_F(PictureTest, SizeFieldsAtTheirBytes) {
    gLimitImageSize = true;
    EXPECT_TRUE(Save(Gif(300, 300)));
    EXPECT_FALSE(Save(Gif(299, 300)));
    EXPECT_FALSE(Save(Gif(300, 299)));
    EXPECT_TRUE(Save(Bmp(300, 300)));
    EXPECT_FALSE(Save(Bmp(300, -400)));  // stored top-down
    EXPECT_FALSE(Save(Bmp(32768, 300)));
    EXPECT_TRUE(Save(Bmp(65536 + 300, 300)));  // only the low 16 bits count
    EXPECT_TRUE(Save(Png(300, 300)));
    EXPECT_FALSE(Save(Png(300, 32768)));
    EXPECT_TRUE(Save(Png(32767, 32767)));
    EXPECT_FALSE(Save(Gif(40000, 400)));
    EXPECT_EQ(MakeWord(0xFF, 0x7F), 32767);
    EXPECT_FALSE(MakeWord(0x00, 0x80));
}

TEST_F(PictureTest, JpegMarkerWalk) {
    auto size = [](const Bytes& d) {
        auto s = ReadPictureSize(d, PictureType::Jpeg);
        return s ? std::to_string(s->width) + "x" + std::to_string(s->height) : "error";
    };
    EXPECT_EQ(size(Jpeg(0xC0, 640, 480)), "640x480");
    EXPECT_EQ(size(Jpeg(0xC2, 641, 481)), "641x481");  // progressive
    // SOF5 and above give no size: the walk runs on to the end.
    EXPECT_NE(size(Jpeg(0xC5, 640, 480)), "640x480");
    EXPECT_NE(size(Jpeg(0xC4, 640, 480)), "640x480");
    // A thumbnail inside an APP segment is passed over with its segment.
    const Bytes thumb = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x10};
    EXPECT_EQ(size(Jpeg(0xC0, 800, 600, thumb)), "800x600");
    // Fill bytes before a marker.
    Bytes filled = Jpeg(0xC0, 320, 200);
    filled.insert(filled.begin() + 6, {0xFF, 0xFF, 0xFF});
    filled[5] = 2;  // APP0 holds nothing, then fill bytes
    EXPECT_EQ(size(filled), "320x200");
    // Segment lengths 0 and 1 walk on byte by byte; a length past the end ends the walk.
    EXPECT_EQ(size(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00, 0xFF, 0xC0, 0, 0x11, 8, 0, 9, 0, 7}), "7x9");
    EXPECT_EQ(size(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0xFF, 0xC0, 0, 0x11, 8, 0, 9, 0, 7}), "7x9");
    EXPECT_EQ(size(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x7F, 0xFF, 0}), "0x0");
    EXPECT_EQ(size(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x80, 0x00, 0}), "error");
    EXPECT_EQ(size(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 0xAA}), "0x0");  // no frame header
    // Cut at every length up to and through the frame header: no read out of the data.
    const Bytes full = Jpeg(0xC0, 640, 480, thumb);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const Bytes cut(full.begin(), full.begin() + n);
        const std::string s = size(cut);
        EXPECT_TRUE(s == "error" || s == "0x0" || s == "640x480") << n;
    }
}

TEST_F(PictureTest, FileSizeThresholdWhateverWasAnnounced) {
    gLimitImageFileSize = true;
    Bytes exact = Gif(1, 1, 10 * 1024), less = Gif(1, 1, 10 * 1024 - 1);
    EXPECT_TRUE(Save(exact));
    EXPECT_FALSE(Save(less));
    // An announced size does not excuse small data (an address the early cancel cannot judge).
    EXPECT_FALSE(Save(less, "http://h/show?id=7", 10 * 1024 - 1));
    EXPECT_FALSE(Save(less, "http://h/a.JPG", 20000));
    EXPECT_TRUE(Save(exact, "http://h/a.JPG", 20000));
    gLimitImageFileSize = false;
    EXPECT_TRUE(Save(less));
}

TEST_F(PictureTest, NonPicturesQueueTheirFolder) {
    EXPECT_FALSE(Save(Bytes{'<', 'h', 't', 'm', 'l', '>'}, "http://h/gallery/x.jpg"));
    EXPECT_FALSE(Save(Bytes{'<', 'h'}, "http://h/gallery/y.jpg"));
    EXPECT_FALSE(Save(Bytes{'x'}, "nohost"));
    ASSERT_EQ(gPriorityPageCount, 1);
    EXPECT_EQ(gPriorityPageURLs[0], "http://h/gallery");
    EXPECT_EQ(gPriorityPageTexts[0], "");
    // A first byte that starts no signature it could be, and no picture at all: nothing.
    EXPECT_FALSE(Save(Bytes{'B', 'X'}));
    EXPECT_FALSE(Save(Bytes{}));
    EXPECT_EQ(gPriorityPageCount, 1);
    EXPECT_TRUE(Names().empty());
}

TEST_F(PictureTest, NamesPassOverAnythingThatExists) {
    world.files.addFile("C:\\Pics\\catch00000.jpg", "x");
    world.files.addFile("C:\\Pics\\Catch00001.jpg", "x", true);  // hidden
    world.files.addFolder("C:\\Pics\\Catch00002.jpg");
    EXPECT_TRUE(Save(Jpeg(0xC0, 1, 1)));
    EXPECT_EQ(gFileCounterJPG, 4);
    EXPECT_TRUE(world.files.read("C:\\Pics\\Catch00003.jpg"));
    // A gap is filled first; a name taken between the check and the creation moves on.
    gFileCounterGIF = 0;
    world.files.beforeCreate = [&](const std::string& path) {
        if (path == "C:\\Pics\\Catch00000.gif") world.files.addFile(path, "other");
    };
    EXPECT_TRUE(Save(Gif(1, 1)));
    EXPECT_EQ(*world.files.read("C:\\Pics\\Catch00000.gif"), Bytes({'o', 't', 'h', 'e', 'r'}));
    EXPECT_EQ(world.files.read("C:\\Pics\\Catch00001.gif"), Gif(1, 1));
    // More than five digits.
    gFileCounterPNG = 123456;
    EXPECT_TRUE(Save(Png(1, 1)));
    EXPECT_TRUE(world.files.read("C:\\Pics\\Catch123456.png"));
}

TEST_F(PictureTest, SavesFinishingTogetherStopAtTheLimit) {
    gSavedPictureCount = kMaxSavedPictures - 1;
    // Another save finishes while this one seeks a free name.
    world.backend.post([&] { EXPECT_TRUE(Save(Gif(1, 1))); });
    EXPECT_FALSE(Save(Jpeg(0xC0, 1, 1)));
    EXPECT_EQ(gSavedPictureCount, kMaxSavedPictures);
    EXPECT_EQ(Names(), std::vector<std::string>{"C:\\Pics\\Catch00000.gif"});
}

TEST_F(PictureTest, AFolderEndingInABackslashGetsNoSecondOne) {
    world.files.addFolder("C:\\");
    std::uintptr_t file = 0;
    EXPECT_EQ(web.OpenNewImageFile("jpg", &file, "Catch", "C:\\"), "C:\\Catch00000.jpg");
    EXPECT_EQ(web.OpenNewImageFile("gif", &file, "Catch", "C:\\Pics"), "C:\\Pics\\Catch00000.gif");
}

TEST_F(PictureTest, FailuresLeaveNoFileAndCountNothing) {
    world.files.failWritesAfter(0);
    EXPECT_FALSE(Save(Gif(1, 1)));
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(world.files.openCount(), 0);
    world.files.failWritesAfter(-1);
    gDownloadFolder = "C:\\Missing";
    EXPECT_FALSE(Save(Gif(1, 1)));
    // A prefix that would leave the folder is replaced.
    gDownloadFolder = "C:\\Pics";
    gFileCounterGIF = 0;
    gDownloadFileName = "..\\..\\Windows\\x";
    EXPECT_TRUE(Save(Gif(1, 1)));
    EXPECT_TRUE(world.files.read("C:\\Pics\\Catch00000.gif"));
    EXPECT_EQ(gSavedPictureCount, 1);
    gSavedPictureCount = kMaxSavedPictures;
    EXPECT_FALSE(Save(Gif(1, 1)));
}

TEST_F(PictureTest, BadPicturesAreNeverSavedWithTheLimitsOn) {
    const Bytes signatures[] = {{'G', 'I', 'F', '8'}, {'B', 'M'}, {0x89, 'P', 'N', 'G'}, {0xFF, 0xD8, 0xFF}};
    for (int limit = 0; limit < 2; ++limit) {
        gLimitImageSize = limit == 0;
        gLimitImageFileSize = limit == 1;
        gImageWidth = gImageHeight = 1;
        gImageFileSizeKB = 1;
        for (const Bytes& sig : signatures)
            for (std::size_t n = 1; n <= 30; ++n) {
                Bytes body(sig.begin(), sig.begin() + std::min(n, sig.size()));
                body.resize(n, 0);
                EXPECT_FALSE(Save(body)) << int(sig[0]) << " " << n;
            }
        // A real header cut short, under the default limit.
        gImageWidth = gImageHeight = 300;
        const std::pair<Bytes, std::size_t> heads[] = {
            {Gif(400, 400), 10}, {Bmp(400, 400), 24}, {Png(400, 400), 24}, {Jpeg(0xC0, 400, 400), 15}};
        for (const auto& [head, complete] : heads)
            for (std::size_t n = 1; n < complete; ++n) EXPECT_FALSE(Save(Bytes(head.begin(), head.begin() + n)));
    }
    EXPECT_TRUE(Names().empty());
}

}  // namespace
