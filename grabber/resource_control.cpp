#include "grabber/resource_control.h"

#include <array>

#include "grabber/browser_folder.h"
#include "grabber/grab_state.h"
#include "grabber/keyword.h"
#include "grabber/preview_link.h"
#include "grabber/resource_form.h"
#include "grabber/resource_rules.h"
#include "grabber/resource_state.h"
#include "kit/convert.h"
#include "shell/globals.h"
#include "shell/registration.h"
#include "shell/tivlo_form.h"

namespace {

constexpr const char* kCaption = "Tivlo 2.3";
constexpr const char* kImageKey = "Software\\Tivlo\\Image";
constexpr const char* kResSettingKey = "Software\\Tivlo\\ResSetting";
// Settings are kept within what one registry text holds (254 bytes).
constexpr std::size_t kMaxStoredText = 254;
constexpr int kMaxFileNameChars = 32;
constexpr const char* kFolderTooLong = "The folder path is too long !";

constexpr int kMaxSize = 2048, kMaxFileSizeKB = 10240;

// The designed layout in twips: frames in the control, the rest in their frame.
struct Place {
    int left, top, width, height;
};
constexpr int kWidth = 9480, kHeight = 3300;
constexpr Place kFormats{120, 60, 4560, 780}, kLimit{120, 900, 4560, 2280};
constexpr Place kFileFolder{4800, 60, 4560, 1920}, kSearch{4800, 2040, 4560, 1140};
constexpr int kTypeLeft = 240, kTypeStep = 870, kTypeTop = 330, kTypeWidth = 780;
constexpr int kCheckHeight = 285, kBoxHeight = 315, kLabelHeight = 255, kUpDownWidth = 255;
// The three number rows of the limit frame.
constexpr int kRowLabelLeft = 480, kRowLabelWidth = 1500, kRowBoxLeft = 2040, kRowBoxWidth = 900;
constexpr int kRowUnitLeft = 3300, kRowUnitWidth = 600;
constexpr int kSizeSwitchTop = 300, kWidthTop = 660, kHeightTop = 1020, kFileSwitchTop = 1410,
              kFileSizeTop = 1770;
constexpr int kSwitchLeft = 240, kSwitchWidth = 3600;
// The text rows of the right-hand frames.
constexpr int kTextLabelLeft = 240, kTextLabelWidth = 1080, kTextBoxLeft = 1380, kTextBoxWidth = 2940;
constexpr int kFirstRowTop = 300, kSecondRowTop = 720;
constexpr Place kChangeFolder{1380, 1110, 1560, 360}, kDispParse{240, 1530, 3600, 285};

const std::array<const char*, 5> kTypeCaptions = {".gif", ".jpg", ".jpeg", ".bmp", ".png"};

bool* TypeFlag(int index) {
    static const std::array<bool*, 5> flags = {&gDownloadGIF, &gDownloadJPG, &gDownloadJPEG,
                                               &gDownloadBMP, &gDownloadPNG};
    return flags[static_cast<std::size_t>(index)];
}

void Place_(kit::Control& c, const Place& p) { c.Move(p.left, p.top, p.width, p.height); }

// A label, box, up-down and unit label on one row of the limit frame.
void PlaceNumberRow(kit::Label& label, kit::TextBox& box, kit::UpDown& ud, kit::Label& unit,
                    int top) {
    label.Move(kRowLabelLeft, top + 60, kRowLabelWidth, kLabelHeight);
    box.Move(kRowBoxLeft, top, kRowBoxWidth, kBoxHeight);
    ud.Move(kRowBoxLeft + kRowBoxWidth, top, kUpDownWidth, kBoxHeight);
    unit.Move(kRowUnitLeft, top + 60, kRowUnitWidth, kLabelHeight);
}

void PlaceTextRow(kit::Label& label, kit::TextBox& box, int top) {
    label.Move(kTextLabelLeft, top + 60, kTextLabelWidth, kLabelHeight);
    box.Move(kTextBoxLeft, top, kTextBoxWidth, kBoxHeight);
}

std::string Number(int v) { return std::to_string(v); }

}  // namespace

OcxResource::OcxResource(kit::Container* parent)
    : kit::UserControl(parent),
      fmeFormats(this, "&Formats of Download Resources"),
      fmeLimit(this, "&Limit"),
      fmeFileFolder(this, "File Folder and &Name"),
      fmeSearch(this, "&Search Property"),
      chkImage(&fmeFormats, [](kit::Container* c) { return std::make_unique<kit::CheckBox>(c); },
               5),
      chkImageSize(&fmeLimit, "Limited by images resolution"),
      lblImageWidth(&fmeLimit, "Width more than"),
      lblWidthPixel(&fmeLimit, "pixels"),
      lblImageHeight(&fmeLimit, "Height more than"),
      lblHeightPixel(&fmeLimit, "pixels"),
      txtImageWidth(&fmeLimit, "500"),
      txtImageHeight(&fmeLimit, "500"),
      udImageWidth(&fmeLimit),
      udImageHeight(&fmeLimit),
      chkImageFileSize(&fmeLimit, "Limited by images file size"),
      lblImageFileSize(&fmeLimit, "File size more than"),
      lblImageKB(&fmeLimit, "KB"),
      txtImageFileSize(&fmeLimit, "500"),
      udImageFileSize(&fmeLimit),
      Label4(&fmeFileFolder, "File Name:"),
      Label5(&fmeFileFolder, "Folder:"),
      txtFileName(&fmeFileFolder, "Catch"),
      txtFileFolder(&fmeFileFolder),
      cmdChangeFileFolder(&fmeFileFolder, "Change Folder"),
      chkDispParseWindow(&fmeFileFolder, "Show While Downloading"),
      Label6(&fmeSearch, "Websites:"),
      Label1(&fmeSearch, "Search word :"),
      txtWebsiteURL(&fmeSearch),
      txtSearchKeyword(&fmeSearch) {
    setScaleMode(kit::kScaleTwips);
    Move(0, 0, kWidth, kHeight);
    Place_(fmeFormats, kFormats);
    Place_(fmeLimit, kLimit);
    Place_(fmeFileFolder, kFileFolder);
    Place_(fmeSearch, kSearch);
    for (int i = 0; i < 5; ++i) {
        chkImage(i).setCaption(kTypeCaptions[static_cast<std::size_t>(i)]);
        chkImage(i).Move(kTypeLeft + kTypeStep * i, kTypeTop, kTypeWidth, kCheckHeight);
    }
    chkImageSize.Move(kSwitchLeft, kSizeSwitchTop, kSwitchWidth, kCheckHeight);
    PlaceNumberRow(lblImageWidth, txtImageWidth, udImageWidth, lblWidthPixel, kWidthTop);
    PlaceNumberRow(lblImageHeight, txtImageHeight, udImageHeight, lblHeightPixel, kHeightTop);
    chkImageFileSize.Move(kSwitchLeft, kFileSwitchTop, kSwitchWidth, kCheckHeight);
    PlaceNumberRow(lblImageFileSize, txtImageFileSize, udImageFileSize, lblImageKB, kFileSizeTop);
    PlaceTextRow(Label4, txtFileName, kFirstRowTop);
    PlaceTextRow(Label5, txtFileFolder, kSecondRowTop);
    Place_(cmdChangeFileFolder, kChangeFolder);
    Place_(chkDispParseWindow, kDispParse);
    PlaceTextRow(Label6, txtWebsiteURL, kFirstRowTop);
    PlaceTextRow(Label1, txtSearchKeyword, kSecondRowTop);

    // The states at creation, before the start-up step.
    const std::initializer_list<kit::Control*> disabled = {
        &chkImageSize,   &lblImageWidth,    &txtImageWidth,    &udImageWidth, &lblWidthPixel,
        &lblImageHeight, &txtImageHeight,   &udImageHeight,    &lblHeightPixel, &chkImageFileSize,
        &lblImageFileSize, &txtImageFileSize, &udImageFileSize, &lblImageKB};
    for (kit::Control* c : disabled) c->setEnabled(false);
    chkDispParseWindow.setValue(kit::kChecked);
    for (kit::UpDown* ud : {&udImageWidth, &udImageHeight, &udImageFileSize}) {
        ud->setMin(1);
        ud->setIncrement(1);
    }
    udImageWidth.setMax(kMaxSize);
    udImageHeight.setMax(kMaxSize);
    udImageFileSize.setMax(kMaxFileSizeKB);
    txtImageWidth.setMaxLength(4);
    txtImageHeight.setMaxLength(4);
    txtImageFileSize.setMaxLength(7);
    txtFileName.setMaxLength(kMaxFileNameChars);
    for (kit::TextBox* t : {&txtImageWidth, &txtImageHeight, &txtImageFileSize})
        t->setAlignment(kit::kAlignCenter);
    txtFileFolder.setLocked(true);

    chkImage.Click = [this](int i) { chkImage_Click(i); };
    chkImageSize.Click = [this] { chkImageSize_Click(); };
    chkImageFileSize.Click = [this] { chkImageFileSize_Click(); };
    chkDispParseWindow.Click = [this] { chkDispParseWindow_Click(); };
    txtImageWidth.Change = [this] { NumberBox_Change(txtImageWidth, udImageWidth, gImageWidth); };
    txtImageHeight.Change = [this] {
        NumberBox_Change(txtImageHeight, udImageHeight, gImageHeight);
    };
    txtImageFileSize.Change = [this] {
        NumberBox_Change(txtImageFileSize, udImageFileSize, gImageFileSizeKB);
    };
    udImageWidth.Change = [this] { txtImageWidth.setText(Number(udImageWidth.Value())); };
    udImageHeight.Change = [this] { txtImageHeight.setText(Number(udImageHeight.Value())); };
    udImageFileSize.Change = [this] {
        txtImageFileSize.setText(Number(udImageFileSize.Value()));
    };
    for (kit::TextBox* t : {&txtImageWidth, &txtImageHeight, &txtImageFileSize, &txtFileName}) {
        t->Click = [this, t] { RememberText(*t); };
        t->DblClick = [this, t] {
            SelectAll(*t);
            RememberText(*t);
        };
    }
    txtFileName.Change = [this] { txtFileName_Change(); };
    cmdChangeFileFolder.Click = [this] { cmdChangeFileFolder_Click(); };
    txtWebsiteURL.Change = [this] { gWebsiteURL = txtWebsiteURL.Text(); };
    txtWebsiteURL.DblClick = [this] { SelectAll(txtWebsiteURL); };
    txtWebsiteURL.LostFocus = [this] { txtWebsiteURL_LostFocus(); };
    txtSearchKeyword.Change = [this] { txtSearchKeyword_Change(); };
    txtSearchKeyword.DblClick = [this] { SelectAll(txtSearchKeyword); };
    txtSearchKeyword.LostFocus = [this] { txtSearchKeyword_LostFocus(); };
}

void OcxResource::UserControl_Initialize() {
    // The type boxes start unticked and the limit switches disabled: ticking a limit switch
    // first only shows its flag, and the first ticked type enables the switches.
    if (gLimitImageSize) chkImageSize.setValue(kit::kChecked);
    if (gLimitImageFileSize) chkImageFileSize.setValue(kit::kChecked);
    for (int i = 0; i < 5; ++i)
        if (*TypeFlag(i)) chkImage(i).setValue(kit::kChecked);
    txtImageWidth.setText(Number(gImageWidth));
    txtImageHeight.setText(Number(gImageHeight));
    txtImageFileSize.setText(Number(gImageFileSizeKB));
    chkDispParseWindow.setValue(gDispWindowAfterGrabbing ? kit::kChecked : kit::kUnchecked);
    txtFileName.setText(gDownloadFileName);
    txtFileFolder.setText(gDownloadFolder);
    txtWebsiteURL.setText(gWebsiteURL);
    txtSearchKeyword.setText(gSearchKeyword);
}

void OcxResource::chkImage_Click(int index) {
    gPictureTypesChosen = false;
    if (chkImage(index).Value() == kit::kChecked) {
        *TypeFlag(index) = true;
        chkImageSize.setEnabled(true);
        chkImageFileSize.setEnabled(true);
        gPictureTypesChosen = true;
    } else {
        *TypeFlag(index) = false;
        for (int i = 0; i < 5; ++i) {
            if (chkImage(i).Value() == kit::kChecked) {
                gPictureTypesChosen = true;
                break;
            }
        }
        if (!gPictureTypesChosen) {
            chkImageSize.setEnabled(false);
            chkImageFileSize.setEnabled(false);
        }
    }
    chkImageSize_Click();
    chkImageFileSize_Click();
    chkImage(index).EnableAgain();
}

namespace {

// A limit switch and the controls that follow it; its flag changes only while it is enabled.
void LimitSwitch(kit::CheckBox& sw, bool& flag, std::initializer_list<kit::Control*> followers) {
    if (sw.Enabled()) {
        flag = sw.Value() == kit::kChecked;
        for (kit::Control* c : followers) c->setEnabled(flag);
        sw.EnableAgain();
    } else {
        for (kit::Control* c : followers) c->setEnabled(false);
    }
}

}  // namespace

void OcxResource::chkImageSize_Click() {
    LimitSwitch(chkImageSize, gLimitImageSize,
                {&lblImageWidth, &lblImageHeight, &txtImageWidth, &txtImageHeight, &udImageWidth,
                 &udImageHeight, &lblWidthPixel, &lblHeightPixel});
}

void OcxResource::chkImageFileSize_Click() {
    LimitSwitch(chkImageFileSize, gLimitImageFileSize,
                {&lblImageFileSize, &txtImageFileSize, &udImageFileSize, &lblImageKB});
}

void OcxResource::chkDispParseWindow_Click() {
    gDispWindowAfterGrabbing = chkDispParseWindow.Value() == kit::kChecked;
    chkDispParseWindow.EnableAgain();
}

void OcxResource::NumberBox_Change(kit::TextBox& box, kit::UpDown& ud, std::int16_t& variable) {
    if (eResourceRules::NumberAccepted(box.Text())) {
        if (kit::CDbl(box.Text()) > ud.Max()) box.setText(Number(ud.Max()));
        const double v = kit::RoundHalfEven(kit::Val(box.Text()));
        ud.setValue(v > ud.Max() ? ud.Max() : static_cast<int>(v));
    } else {
        box.setText(mLastGoodText);
    }
    variable = eResourceRules::NumberBoxValue(box.Text(), ud.Max());
}

void OcxResource::RememberText(kit::TextBox& box) { mLastGoodText = box.Text(); }

void OcxResource::SelectAll(kit::TextBox& box) {
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
}

void OcxResource::txtFileName_Change() {
    if (eResourceRules::FirstBadFileNameChar(txtFileName.Text()) != std::string::npos)
        txtFileName.setText(mLastGoodText);
    if (txtFileName.Text().empty()) txtFileName.setText("Catch");
    gDownloadFileName = txtFileName.Text();
}

void OcxResource::ChangeFileFolder(const std::string& folder) { txtFileFolder.setText(folder); }

void OcxResource::cmdChangeFileFolder_Click() {
    const std::string start = txtFileFolder.Text();
    // The grab window takes no input while the dialog is open, so that no second dialog opens
    // over it; the tray menu may still close the window meanwhile.
    kit::Form* host = hostForm();
    host->setEnabled(false);
    std::string chosen = eBrowserFolder::BrowseForFolder(frmTivlo().hWnd(), start);
    const bool open = host->loaded();
    if (open) host->setEnabled(true);
    // The store keeps one text in 254 bytes: a longer folder could not be kept.
    if (chosen.size() > kMaxStoredText) {
        if (open) MsgBox(kFolderTooLong, kit::kMbIconError, kCaption);
        else kit::MsgBox(kFolderTooLong, kit::kMbIconError, kCaption);
        chosen.clear();
    }
    if (!open) {
        // The window saved its settings when it closed: the folder chosen is saved on its own,
        // and shown by a window opened meanwhile.
        if (chosen.empty()) return;
        gDownloadFolder = chosen;
        eRegistration::SetRegistryValue(kResSettingKey, "Download_File_Folder", gDownloadFolder);
        if (frmResource.Loaded()) frmResource().ocxResource.ChangeFileFolder(gDownloadFolder);
        return;
    }
    txtFileFolder.setText(chosen.empty() ? start : chosen);
    gDownloadFolder = txtFileFolder.Text();
    if (gListedFolder == gDownloadFolder) return;
    gListedFolder = gDownloadFolder;
    kit::FileListBox& list = frmTivlo().flbThumbView;
    try {
        list.setPath(gDownloadFolder);
    } catch (const kit::RuntimeError&) {
        return;  // the folder went away meanwhile: the next refresh tick reports it
    }
    gThumbFileCount = list.ListCount();
    gThumbPage = gThumbFileCount > 0 ? 1 : 0;
    if (!frmResource.Loaded()) return;
    FrmResource& window = frmResource();
    window.ThumbView_Load();
    if (!window.loaded() || !gPreviewOpen) return;
    if (gThumbFileCount > 0)
        window.picThumb_Click(0);
    else
        ePreview::Unload();
}

void OcxResource::txtWebsiteURL_LostFocus() {
    txtWebsiteURL.setText(eResourceRules::WebsiteWithScheme(txtWebsiteURL.Text()));
}

void OcxResource::txtSearchKeyword_Change() {
    const SearchKeywordCheck r = eResource::CheckSearchKeyword(txtSearchKeyword.Text());
    if (r.Valid) {
        mLastValidKeyword = txtSearchKeyword.Text();
        return;
    }
    MsgBox(r.Message, kit::kMbIconError, kCaption);
    txtSearchKeyword.setText(mLastValidKeyword);
    txtSearchKeyword.setSelStart(static_cast<int>(txtSearchKeyword.Text().size()));
}

void OcxResource::txtSearchKeyword_LostFocus() {
    txtSearchKeyword.setText(eResourceRules::DropTrailingOperator(txtSearchKeyword.Text()));
    gSearchKeyword = eResourceRules::LowerCase(txtSearchKeyword.Text());
}

void OcxResource::SaveResourceSetting() {
    using eRegistration::SetRegistryValue;
    SetRegistryValue(kImageKey, "GIF_Download", kit::BoolText(gDownloadGIF));
    SetRegistryValue(kImageKey, "JPG_Download", kit::BoolText(gDownloadJPG));
    SetRegistryValue(kImageKey, "JPEG_Download", kit::BoolText(gDownloadJPEG));
    SetRegistryValue(kImageKey, "BMP_Download", kit::BoolText(gDownloadBMP));
    SetRegistryValue(kImageKey, "PNG_Download", kit::BoolText(gDownloadPNG));
    SetRegistryValue(kImageKey, "Limited_Images_Resolution", kit::BoolText(gLimitImageSize));
    SetRegistryValue(kImageKey, "Limited_Images_Size", kit::BoolText(gLimitImageFileSize));
    SetRegistryValue(kImageKey, "Images_Width", Number(gImageWidth));
    SetRegistryValue(kImageKey, "Images_Height", Number(gImageHeight));
    SetRegistryValue(kImageKey, "Images_File_Size", Number(gImageFileSizeKB));
    SetRegistryValue(kResSettingKey, "Disp_Window_AfterGrabbing",
                     kit::BoolText(gDispWindowAfterGrabbing));
    SetRegistryValue(kResSettingKey, "Download_File_Name", gDownloadFileName);
    SetRegistryValue(kResSettingKey, "Download_File_Folder", gDownloadFolder);
}
