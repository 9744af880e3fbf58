// The grab settings editor at the top of the grab window, edited as a user would: ticks,
// typing, clicks that remember a text, focus moves, the folder dialog and the saved values.
#include "grab_window_fixture.h"

namespace {

class GrabSettingsTest : public GrabWindowTest {
protected:
    OcxResource& Settings() { return frmResource().ocxResource; }
    void Tick(kit::CheckBox& box) { world.backend.click(box.hWnd()); }
    // Typing replaces the text: as a selection typed over.
    void Type(kit::TextBox& box, const std::string& text) {
        world.backend.focus(box.hWnd());
        box.setText(text);
    }
    void Leave(kit::TextBox& box) {
        world.backend.focus(box.hWnd());
        world.backend.focus(Settings().txtFileName.hWnd());
    }
};

TEST_F(GrabSettingsTest, StartingStatesFollowTheFlags) {
    gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = false;
    gLimitImageSize = true;
    gLimitImageFileSize = false;
    gImageWidth = 640;
    gDispWindowAfterGrabbing = false;
    gDownloadFileName = "Shot";
    OcxResource& s = Open().ocxResource;
    // No type chosen: the switch shows its flag but stays disabled, with its boxes.
    EXPECT_EQ(s.chkImageSize.Value(), kit::kChecked);
    EXPECT_FALSE(s.chkImageSize.Enabled());
    EXPECT_FALSE(s.txtImageWidth.Enabled());
    EXPECT_FALSE(s.udImageHeight.Enabled());
    EXPECT_FALSE(gPictureTypesChosen);
    EXPECT_EQ(s.txtImageWidth.Text(), "640");
    EXPECT_EQ(s.udImageWidth.Value(), 640);
    EXPECT_EQ(s.chkDispParseWindow.Value(), kit::kUnchecked);
    EXPECT_EQ(s.txtFileName.Text(), "Shot");
    EXPECT_EQ(s.txtFileFolder.Text(), kPics);
    EXPECT_TRUE(s.txtFileFolder.Locked());
    EXPECT_EQ(s.fmeLimit.Caption(), "&Limit");
    EXPECT_EQ(s.chkImage(2).Caption(), ".jpeg");
    EXPECT_EQ(s.txtImageFileSize.MaxLength(), 7);
    EXPECT_EQ(s.udImageFileSize.Max(), 10240);

    // The first ticked type enables the switches; the flags show through.
    Tick(s.chkImage(3));
    EXPECT_TRUE(gDownloadBMP);
    EXPECT_TRUE(gPictureTypesChosen);
    EXPECT_TRUE(s.chkImageSize.Enabled());
    EXPECT_TRUE(s.txtImageWidth.Enabled());
    EXPECT_TRUE(s.chkImageFileSize.Enabled());
    EXPECT_FALSE(s.txtImageFileSize.Enabled());

    // Unticking the last type disables everything and keeps the flags.
    Tick(s.chkImageFileSize);
    EXPECT_TRUE(gLimitImageFileSize);
    Tick(s.chkImage(3));
    EXPECT_FALSE(gPictureTypesChosen);
    EXPECT_FALSE(s.chkImageSize.Enabled());
    EXPECT_FALSE(s.chkImageFileSize.Enabled());
    EXPECT_FALSE(s.txtImageWidth.Enabled());
    EXPECT_FALSE(s.lblImageKB.Enabled());
    EXPECT_TRUE(gLimitImageSize);
    EXPECT_TRUE(gLimitImageFileSize);
    Tick(s.chkImage(0));
    EXPECT_TRUE(s.txtImageWidth.Enabled());
    EXPECT_TRUE(s.txtImageFileSize.Enabled());
}

TEST_F(GrabSettingsTest, NumberBoxesClampRoundAndRevert) {
    gImageWidth = gImageHeight = 500;
    gImageFileSizeKB = 300;
    OcxResource& s = Open().ocxResource;
    Tick(s.chkImage(0));
    Tick(s.chkImageSize);
    Tick(s.chkImageFileSize);

    // Before any click the remembered text is empty: an emptied box gives 0.
    Type(s.txtImageWidth, "");
    EXPECT_EQ(s.txtImageWidth.Text(), "");
    EXPECT_EQ(gImageWidth, 0);

    struct Case {
        kit::TextBox* box;
        std::string typed, shown;
        std::int16_t* variable;
        int value;
    };
    const Case accepted[] = {
        {&s.txtImageWidth, "3000", "2048", &gImageWidth, 2048},
        {&s.txtImageFileSize, "99999", "10240", &gImageFileSizeKB, 10240},
        {&s.txtImageWidth, "12.5", "12", &gImageWidth, 12},
        {&s.txtImageHeight, "1e3", "1000", &gImageHeight, 1000},
        {&s.txtImageHeight, " 7 ", "7", &gImageHeight, 7},
    };
    for (const Case& c : accepted) {
        SCOPED_TRACE(c.typed);
        Type(*c.box, c.typed);
        EXPECT_EQ(c.box->Text(), c.shown);
        EXPECT_EQ(*c.variable, c.value);
    }
    EXPECT_EQ(s.udImageWidth.Value(), 12);

    // Refused texts bring back the text remembered at the last click, from any of the boxes.
    world.backend.click(s.txtImageHeight.hWnd());  // "7"
    for (const char* bad : {"", "0", "-5", "abc", "&H10"}) {
        SCOPED_TRACE(bad);
        Type(s.txtImageWidth, bad);
        EXPECT_EQ(s.txtImageWidth.Text(), "7");
        EXPECT_EQ(gImageWidth, 7);
    }

    // A remembered file name with a leading number too big for the box reads as its Max.
    Type(s.txtFileName, "99999x");
    world.backend.click(s.txtFileName.hWnd());
    Type(s.txtImageWidth, "x");
    EXPECT_EQ(s.txtImageWidth.Text(), "99999x");
    EXPECT_EQ(gImageWidth, 2048);

    // The up-down writes its value into the box.
    s.udImageFileSize.setValue(42);
    EXPECT_EQ(s.txtImageFileSize.Text(), "42");
    EXPECT_EQ(gImageFileSizeKB, 42);
}

TEST_F(GrabSettingsTest, FileNameWebsiteAndKeywordRules) {
    OcxResource& s = Open().ocxResource;
    Type(s.txtFileName, "Cat5");
    world.backend.click(s.txtFileName.hWnd());
    for (const char* bad : {"Cat_5", "Cat 5", "Cat.5"}) {
        Type(s.txtFileName, bad);
        EXPECT_EQ(s.txtFileName.Text(), "Cat5") << bad;
    }
    Type(s.txtFileName, "");
    EXPECT_EQ(s.txtFileName.Text(), "Catch");
    EXPECT_EQ(gDownloadFileName, "Catch");
    EXPECT_EQ(s.txtFileName.MaxLength(), 32);

    struct Site {
        const char* typed;
        const char* left;
    };
    for (const Site& c : {Site{"a.test", "http://a.test"}, Site{"x HTTP://a.test", "x HTTP://a.test"},
                          Site{"ftp://a.test", "http://ftp://a.test"},
                          Site{"https://a.test", "https://a.test"}, Site{"", ""}}) {
        Type(s.txtWebsiteURL, c.typed);
        Leave(s.txtWebsiteURL);
        EXPECT_EQ(s.txtWebsiteURL.Text(), c.left) << c.typed;
        EXPECT_EQ(gWebsiteURL, c.left);
    }

    Type(s.txtSearchKeyword, "Cats+Dogs-");
    Leave(s.txtSearchKeyword);
    EXPECT_EQ(s.txtSearchKeyword.Text(), "Cats+Dogs");
    EXPECT_EQ(gSearchKeyword, "cats+dogs");
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    for (const char* bad : {"Cats Dogs", "Cats++Dogs", "+Cats"}) {
        SCOPED_TRACE(bad);
        Type(s.txtSearchKeyword, bad);
        ASSERT_FALSE(world.backend.msgBoxCalls().empty());
        const auto& box = world.backend.msgBoxCalls().back();
        EXPECT_EQ(box.caption, "Tivlo 2.3");
        EXPECT_EQ(box.flags, 16);
        EXPECT_EQ(s.txtSearchKeyword.Text(), "Cats+Dogs");
        EXPECT_EQ(s.txtSearchKeyword.SelStart(), 9);
    }
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Blank space is forbidden here !",
                                                    "Cannot enter like this, ++", "Wrong enter !"}));
}

TEST_F(GrabSettingsTest, FolderButtonRelistsANewFolderOnly) {
    AddPictures(3);
    world.files.addFolder("C:\\Other");
    world.files.addFile("C:\\Other\\z.bmp", SolidBmp(4, 4, 0xFF0000));
    FrmResource& w = Open();
    OcxResource& s = w.ocxResource;

    // Cancelled: the folder stays.
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    ASSERT_EQ(world.shell.browseCalls().size(), 1u);
    EXPECT_EQ(world.shell.browseCalls()[0].startFolder, kPics);
    EXPECT_EQ(world.shell.browseCalls()[0].title, "Select the destination directory");
    EXPECT_EQ(world.shell.browseCalls()[0].flags, 3u);
    EXPECT_EQ(world.shell.browseCalls()[0].owner, frmTivlo().hWnd());
    EXPECT_EQ(s.txtFileFolder.Text(), kPics);

    // The listed folder again: only the download folder is set.
    gThumbPage = 1;
    gDownloadFolder = "C:\\Elsewhere";
    world.shell.queueBrowseAnswer(std::string(kPics));
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    EXPECT_EQ(gDownloadFolder, kPics);
    EXPECT_EQ(gThumbFileCount, 3);

    // A new folder is listed on its first page.
    world.shell.queueBrowseAnswer(std::string("C:\\Other"));
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    EXPECT_EQ(gDownloadFolder, "C:\\Other");
    EXPECT_EQ(gListedFolder, "C:\\Other");
    EXPECT_EQ(gThumbFileCount, 1);
    EXPECT_EQ(gThumbPage, 1);
    EXPECT_EQ(w.lblThumbView(0).Caption(), "z.bmp");
    EXPECT_FALSE(w.picThumb(1).Visible());

    world.files.addFolder("C:\\Empty");
    world.shell.queueBrowseAnswer(std::string("C:\\Empty"));
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    EXPECT_EQ(gThumbPage, 0);
    EXPECT_EQ(w.lblThumbViewPage.Caption(), "0/0");

    // A folder longer than the store keeps is refused with a message.
    const std::string deep = "C:\\" + std::string(252, 'd');
    world.files.addFolder(deep);
    world.shell.queueBrowseAnswer(deep);
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    EXPECT_EQ(gDownloadFolder, "C:\\Empty");
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
}

TEST_F(GrabSettingsTest, TheFolderDialogHoldsTheWindowAndItsChoiceOutlivesIt) {
    world.files.addFolder("C:\\Other");
    world.files.addFolder("C:\\Third");
    FrmResource& w = Open();
    OcxResource& s = w.ocxResource;
    // While the dialog is open the window takes no input: no second dialog, no closing.
    int opened = 0;
    world.shell.whileBrowsing = [&] {
        if (opened++) return;
        world.backend.click(s.cmdChangeFileFolder.hWnd());
        world.backend.click(w.cmdExit.hWnd());
    };
    world.shell.queueBrowseAnswer(std::string("C:\\Other"));
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    EXPECT_EQ(world.shell.browseCalls().size(), 1u);
    ASSERT_TRUE(frmResource.Loaded());
    EXPECT_EQ(gDownloadFolder, "C:\\Other");

    // Closed from the tray meanwhile: the folder chosen is saved all the same.
    world.shell.whileBrowsing = [&] { frmResource.Unload(); };
    world.shell.queueBrowseAnswer(std::string("C:\\Third"));
    world.backend.click(s.cmdChangeFileFolder.hWnd());
    EXPECT_EQ(world.shell.browseCalls().size(), 2u);
    EXPECT_FALSE(frmResource.Loaded());
    EXPECT_EQ(gDownloadFolder, "C:\\Third");
    EXPECT_EQ(world.registry.value("Software\\Tivlo\\ResSetting", "Download_File_Folder").value_or("-"),
              "C:\\Third");
}

TEST_F(GrabSettingsTest, ClosingSavesTheThirteenValues) {
    gImageWidth = 640;
    gImageHeight = 480;
    gImageFileSizeKB = 99;
    gDispWindowAfterGrabbing = true;
    gDownloadFileName = "Shot";
    gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = false;
    gLimitImageSize = gLimitImageFileSize = false;
    OcxResource& s = Open().ocxResource;
    Tick(s.chkImage(1));
    Tick(s.chkImage(4));
    Tick(s.chkImageFileSize);
    world.backend.click(frmResource().cmdExit.hWnd());
    const std::pair<const char*, const char*> image[] = {
        {"GIF_Download", "False"},    {"JPG_Download", "True"},
        {"JPEG_Download", "False"},   {"BMP_Download", "False"},
        {"PNG_Download", "True"},     {"Limited_Images_Resolution", "False"},
        {"Limited_Images_Size", "True"}, {"Images_Width", "640"},
        {"Images_Height", "480"},     {"Images_File_Size", "99"}};
    for (auto [name, text] : image)
        EXPECT_EQ(world.registry.value("Software\\Tivlo\\Image", name).value_or("-"), text) << name;
    const std::pair<const char*, const char*> res[] = {{"Disp_Window_AfterGrabbing", "True"},
                                                       {"Download_File_Name", "Shot"},
                                                       {"Download_File_Folder", kPics}};
    for (auto [name, text] : res)
        EXPECT_EQ(world.registry.value("Software\\Tivlo\\ResSetting", name).value_or("-"), text)
            << name;
}

}  // namespace
