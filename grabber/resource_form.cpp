#include "grabber/resource_form.h"

#include <array>

#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "grabber/preview_link.h"
#include "grabber/resource_state.h"
#include "grabber/thumb_layout.h"
#include "kit/picture_header.h"
#include "kit/picture_loader.h"
#include "platform/services.h"
#include "shell/globals.h"
#include "shell/help.h"
#include "shell/tivlo_form.h"
#include "viewer/gdiplus_resize.h"
#include "viewer/view_rules.h"

namespace {

namespace layout = eThumbLayout;

constexpr const char* kCaption = "Tivlo 2.3";
constexpr const char* kGrabCaption = "&Grab Now";
constexpr const char* kStopCaption = "Stop &Grabbing";
constexpr const char* kTrayGrabCaption = "&Picture Grabbing";
constexpr const char* kFolderError = "frmResource download file folder error";
constexpr const char* kNoTypes = "Please select picture types first !";
constexpr const char* kNoAddress = "Please enter search keyword or your favourite URL !";
constexpr const char* kRestartQuestion =
    "Press YES will restart the task, otherwise you will continue unfinished task !";
constexpr const char* kNoHelp = "Cannot find help file !";
constexpr int kQuestionFlags = kit::kMbYesNo | kit::kMbIconExclamation;  // 52
constexpr std::intptr_t kShellFailedAtMost = 32;

constexpr unsigned kRefreshMs = 10000;
constexpr int kClientWidthTwips = 9480, kClientHeightTwips = 7530;

// Colours (0x00BBGGRR): the thumbnail strip is dark, the page label white, grey without pages.
constexpr kit::Color kBack = 0x000000;
constexpr kit::Color kPageColour = 0xFFFFFF;
constexpr kit::Color kNoPageColour = 0xC0C0C0;
constexpr kit::Color kNameColour = 0xFFFFFF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The designed layout in pixels, the window's scale.
struct Place {
    int left, top, width, height;
};
constexpr Place kSettings{0, 0, 632, 220};
constexpr Place kGrabNow{16, 228, 120, 27};
constexpr Place kHelp{400, 228, 100, 27};
constexpr Place kExit{516, 228, 100, 27};
constexpr Place kFirst{16, 272, 90, 25};
constexpr Place kBackward{112, 272, 90, 25};
constexpr Place kForward{430, 272, 90, 25};
constexpr Place kLast{526, 272, 90, 25};
constexpr int kPageLabelTop = 277;

void PlaceAt(kit::Control& c, const Place& p) { c.Move(p.left, p.top, p.width, p.height); }

// The lower-case text from the name's last "." to its end.
std::string Extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

}  // namespace

FrmResource::FrmResource()
    : ocxResource(this),
      cmdGrabNow(this, kGrabCaption),
      cmdHelp(this, "&Help"),
      cmdExit(this, "E&xit"),
      cmdFirst(this, "|<<   First"),
      cmdBackward(this, "< Previous"),
      cmdForward(this, "Next >"),
      cmdLast(this, "Last   >>|"),
      lblThumbViewPage(this, "0/0"),
      picThumb(this, [](kit::Container* c) { return std::make_unique<kit::Image>(c); },
               layout::kPerPage),
      lblThumbView(this, [](kit::Container* c) { return std::make_unique<kit::Label>(c); },
                   layout::kPerPage),
      picImg(this),
      sbThumbViewStatus(this),
      tmrRefreshThumbView(this, kRefreshMs, true) {
    setCaption("Resource Grabbing Setting");
    setBorderStyle(kit::kBorderFixedSingle);
    setScaleMode(kit::kScalePixels);
    setBackColor(kBack);
    setClientSize(kClientWidthTwips, kClientHeightTwips);

    PlaceAt(ocxResource, kSettings);
    PlaceAt(cmdGrabNow, kGrabNow);
    PlaceAt(cmdHelp, kHelp);
    PlaceAt(cmdExit, kExit);
    PlaceAt(cmdFirst, kFirst);
    PlaceAt(cmdBackward, kBackward);
    PlaceAt(cmdForward, kForward);
    PlaceAt(cmdLast, kLast);
    for (kit::CommandButton* b : {&cmdFirst, &cmdBackward, &cmdForward, &cmdLast})
        b->setEnabled(false);

    lblThumbViewPage.setAutoSize(true);
    lblThumbViewPage.setBackStyle(kit::kBackTransparent);
    lblThumbViewPage.setForeColor(kNoPageColour);
    lblThumbViewPage.setTop(kPageLabelTop);
    for (int k = 0; k < layout::kPerPage; ++k) {
        picThumb(k).setStretch(true);
        picThumb(k).setVisible(false);
        kit::Label& name = lblThumbView(k);
        name.setAutoSize(true);
        name.setBackStyle(kit::kBackTransparent);
        name.setForeColor(kNameColour);
        name.setVisible(false);
    }
    picImg.setScaleMode(kit::kScalePixels);
    picImg.setAutoSize(true);
    picImg.setVisible(false);
    sbThumbViewStatus.AddPanel();

    cmdGrabNow.Click = [this] { cmdGrabNow_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
    cmdExit.Click = [] { frmResource.Unload(); };
    cmdFirst.Click = [this] { cmdFirst_Click(); };
    cmdBackward.Click = [this] { cmdBackward_Click(); };
    cmdForward.Click = [this] { cmdForward_Click(); };
    cmdLast.Click = [this] { cmdLast_Click(); };
    picThumb.Click = [this](int index) { picThumb_Click(index); };
    tmrRefreshThumbView.OnTimer = [this] { tmrRefreshThumbView_Timer(); };
}

FrmResource::~FrmResource() {
    if (grabber::RegisteredGrabWindow() == this) grabber::SetGrabWindow(nullptr);
}

bool FrmResource::EventsClosedWindow() {
    kit::DoEvents();
    return !loaded();
}

bool FrmResource::ListFolder() {
    kit::FileListBox& list = frmTivlo().flbThumbView;
    try {
        list.setPath(gDownloadFolder);
    } catch (const kit::RuntimeError&) {
        return false;
    }
    return true;
}

void FrmResource::ShowFolderError() {
    MsgBox(kFolderError, kit::kMbIconError, kCaption);
    gDownloadFolder = kit::backend().appPath();
    gListedFolder = gDownloadFolder;
    if (loaded()) ocxResource.ChangeFileFolder(gDownloadFolder);
}

void FrmResource::Form_Load() {
    grabber::SetGrabWindow(this);
    try {
        // Only a folder will do: a file of that name is a missing folder.
        if (platform::files().folderExists(gDownloadFolder) && ListFolder()) {
            gThumbFileCount = frmTivlo().flbThumbView.ListCount();
            gThumbPage = gThumbFileCount > 0 ? 1 : 0;
            ThumbView_Load();
            if (loaded() && gPreviewOpen) {
                if (gThumbFileCount > 0)
                    picThumb_Click(0);
                else
                    ePreview::Unload();
            }
        } else {
            ShowFolderError();
        }
    } catch (const kit::RuntimeError&) {
    }
    // However the load ended, the crawl may now write into the window, unless it was closed
    // while events ran.
    if (loaded()) gResourceFormOpen = true;
}

void FrmResource::CentrePageLabel() {
    lblThumbViewPage.setLeft(layout::CentredLeft(ScaleWidth(), lblThumbViewPage.Width()));
}

void FrmResource::ShowPageButtons(int page) {
    const layout::Buttons b = layout::PageButtons(page, gThumbFileCount);
    cmdForward.setEnabled(b.forward);
    cmdLast.setEnabled(b.last);
    cmdBackward.setEnabled(b.backward);
    cmdFirst.setEnabled(b.first);
}

void FrmResource::ThumbView_Load() {
    try {
        if (EventsClosedWindow()) return;
        if (gThumbPage > 0) {
            lblThumbViewPage.setForeColor(kPageColour);
            lblThumbViewPage.setCaption(std::to_string(gThumbPage) + "/" +
                                        std::to_string(layout::PageCount(gThumbFileCount)));
        } else {
            lblThumbViewPage.setForeColor(kNoPageColour);
            lblThumbViewPage.setCaption("0/0");
        }
        CentrePageLabel();
        if (EventsClosedWindow()) return;
        const layout::Buttons b = layout::PageButtons(gThumbPage, gThumbFileCount);
        cmdForward.setEnabled(b.forward);
        cmdLast.setEnabled(b.last);
        if (EventsClosedWindow()) return;
        cmdBackward.setEnabled(b.backward);
        cmdFirst.setEnabled(b.first);
        const layout::Page page = layout::PageOf(gThumbPage, gThumbFileCount);
        mFirstIndex = page.first;
        mPageFileCount = page.count;
        if (EventsClosedWindow()) return;
        CreateThumbImage(mFirstIndex, mPageFileCount);
    } catch (const kit::RuntimeError&) {
    }
}

FrmResource::Thumb FrmResource::MakeThumb(const platform::FileEntry& file, bool& closed) {
    for (const Thumb& t : kept_)
        if (t.file == file) return t;
    Thumb t;
    t.file = file;
    const std::string path = eViewRules::JoinPath(gDownloadFolder, file.name);
    if (Extension(file.name) != ".png") {
        picImg.setPicture(nullptr);
        // Only the thumbnail is drawn from it: a big JPEG may load at an eighth of its size,
        // and the natural size comes from the loader, not from the (hidden) picture box.
        kit::PictureSize natural;
        try {
            picImg.setPicture(kit::LoadPictureToDraw(
                path,
                [](kit::PictureSize s) {
                    const layout::Size fit = layout::FitThumb(s.width, s.height);
                    return kit::PictureSize{fit.width, fit.height};
                },
                natural));
        } catch (const kit::RuntimeError&) {
            natural = {};
        }
        mImageWidth = natural.width;
        mImageHeight = natural.height;
    } else {
        // No event may run between the size query and the picture's creation: GDI+ holds
        // the one image in between.
        const std::uintptr_t token = eGDIPlusResize::StartGdiPlus();
        std::int32_t w = -1, h = -1;
        const ImageSize size = eGDIPlusResize::LoadImageSize(path, w, h);
        mImageWidth = size.Width;
        mImageHeight = size.Height;
        // A picture past the pixel cap is not drawn at its natural size: it counts as unreadable.
        if (mImageWidth > 0 && mImageHeight > 0 && kit::WithinPixelCap(mImageWidth, mImageHeight)) {
            picImg.setPicture(
                eGDIPlusResize::CreateResizedPicture(mImageWidth, mImageHeight, kWhite, false));
        } else {
            mImageWidth = mImageHeight = 0;
            eGDIPlusResize::DisposeImage();
        }
        eGDIPlusResize::StopGdiPlus(token);
    }
    if (EventsClosedWindow()) {
        closed = true;
        return t;
    }
    if (picImg.picture() && mImageWidth > 0 && mImageHeight > 0) {
        const layout::Size fit = layout::FitThumb(mImageWidth, mImageHeight);
        mThumbWidth = fit.width;
        mThumbHeight = fit.height;
        t.width = mImageWidth;
        t.height = mImageHeight;
        // Only the thumbnail-size copy is kept, never the whole picture.
        t.picture = kit::StretchedCopy(picImg.picture(), mThumbWidth, mThumbHeight);
    }
    picImg.setPicture(nullptr);
    return t;
}

void FrmResource::CreateThumbImage(int first, int count) {
    std::vector<Thumb> shown;
    const kit::FileListBox& list = frmTivlo().flbThumbView;
    for (int i = first; i < first + count; ++i) {
        const int k = i - first;
        if (EventsClosedWindow()) return;
        bool closed = false;
        const Thumb t = MakeThumb(list.Entry(i), closed);
        if (closed) return;
        shown.push_back(t);

        kit::Label& name = lblThumbView(k);
        name.setCaption(t.file.name);
        name.setLeft(layout::LabelLeft(k, name.Width()));
        name.setTop(layout::kLabelTop);
        name.setVisible(true);
        if (EventsClosedWindow()) return;

        kit::Image& thumb = picThumb(k);
        if (t.picture) {
            const layout::Size fit = layout::FitThumb(t.width, t.height);
            mThumbWidth = fit.width;
            mThumbHeight = fit.height;
            thumb.setPicture(t.picture);
            thumb.Move(layout::PictureLeft(k, mThumbWidth), layout::PictureTop(mThumbHeight),
                       mThumbWidth, mThumbHeight);
            thumb.setVisible(true);
        } else {
            // Unreadable: the slot shows only the name.
            thumb.setPicture(nullptr);
            thumb.setVisible(false);
        }
    }
    for (int k = count; k < layout::kPerPage; ++k) {
        picThumb(k).setVisible(false);
        picThumb(k).setPicture(nullptr);
        lblThumbView(k).setVisible(false);
    }
    kept_ = std::move(shown);
}

void FrmResource::PageButtonClicked(kit::CommandButton& button, int page) {
    gThumbPage = page;
    ShowPageButtons(page);
    if (button.Enabled()) button.EnableAgain();
    ThumbView_Load();
}

void FrmResource::cmdFirst_Click() { PageButtonClicked(cmdFirst, 1); }
void FrmResource::cmdBackward_Click() { PageButtonClicked(cmdBackward, gThumbPage - 1); }
void FrmResource::cmdForward_Click() { PageButtonClicked(cmdForward, gThumbPage + 1); }
void FrmResource::cmdLast_Click() {
    PageButtonClicked(cmdLast, layout::PageCount(gThumbFileCount));
}

void FrmResource::picThumb_Click(int index) {
    gCurrentPicture = (gThumbPage - 1) * layout::kPerPage + index;
    if (gPreviewOpen)
        ePreview::LoadImage(0);
    else
        ePreview::Show();
    ePreview::BringToFront();
}

void FrmResource::Form_Resize() {
    if (WindowState() != kit::kStateMinimized) CentrePageLabel();
}

void FrmResource::tmrRefreshThumbView_Timer() {
    tmrRefreshThumbView.setEnabled(false);
    // Enabled again however the tick ends, while the window is loaded: a failing step must
    // not stop the refresh for good.
    struct Rearm {
        FrmResource* window;
        ~Rearm() {
            if (window->loaded()) window->tmrRefreshThumbView.setEnabled(true);
        }
    } rearm{this};
    if (EventsClosedWindow()) return;
    try {
        if (platform::files().folderExists(gDownloadFolder)) {
            if (!ListFolder()) return;
            gThumbFileCount = frmTivlo().flbThumbView.ListCount();
            gThumbPage = layout::ClampPage(gThumbPage, gThumbFileCount);
            if (EventsClosedWindow()) return;
            ThumbView_Load();
            if (!loaded()) return;
            if (gThumbFileCount == 0 && gPreviewOpen) ePreview::Unload();
        } else {
            ShowFolderError();
        }
    } catch (const kit::RuntimeError&) {
    }
    EventsClosedWindow();
}

void FrmResource::InitGrabTask(const std::string& url) { grabber::InitGrabTask(url); }

void FrmResource::cmdGrabNow_Click() {
    FrmTivlo& main = frmTivlo();
    if (cmdGrabNow.Caption() == kStopCaption) {
        cmdGrabNow.setCaption(kGrabCaption);
        main.mnuGrabbing.Caption = kTrayGrabCaption;
        cmdGrabNow.setEnabled(false);  // the crawl loop gives it back when the run has ended
        gStopGrabbing = true;
        return;
    }
    const char* refusal = !gPictureTypesChosen ? kNoTypes
                          : gSearchKeyword.empty() && gWebsiteURL.empty() ? kNoAddress
                                                                          : nullptr;
    if (refusal) {
        MsgBox(refusal, kit::kMbIconExclamation, kCaption);
        cmdGrabNow.EnableAgain();
        return;
    }
    if (!gWebsiteURL.empty()) {
        if (!gTaskStarted) {
            gTaskStarted = true;
            gLastStartURL = gWebsiteURL;
            InitGrabTask(gWebsiteURL);
        } else if (gLastStartURL != gWebsiteURL) {
            gLastStartURL = gWebsiteURL;
            InitGrabTask(gWebsiteURL);
        } else if (MsgBox(kRestartQuestion, kQuestionFlags, kCaption) == kit::kIdYes) {
            InitGrabTask(gWebsiteURL);
        }
    } else if (!gTaskStarted) {
        gTaskStarted = true;
        InitGrabTask(gSearchURL);
    } else if (MsgBox(kRestartQuestion, kQuestionFlags, kCaption) == kit::kIdYes) {
        InitGrabTask(gSearchURL);
    }
    gStopGrabbing = false;
    main.mnuGrabbing.Caption = kStopCaption;
    if (gDispWindowAfterGrabbing) {
        cmdGrabNow.setCaption(kStopCaption);
        sbThumbViewStatus.setPanelText(1, "Started Grab process at " + kit::TimeText(kit::Now()));
        cmdGrabNow.EnableAgain();
    } else {
        frmResource.Unload();
    }
    main.tmrGrabbing.setEnabled(true);
}

void FrmResource::cmdHelp_Click() {
    if (shell::OpenHelp(hWnd()) <= kShellFailedAtMost)
        MsgBox(kNoHelp, kit::kMbIconError, kCaption);
    else
        cmdHelp.EnableAgain();
}

void FrmResource::Form_Unload(int& cancel) {
    picImg.setPicture(nullptr);
    for (int k = 0; k < layout::kPerPage; ++k) picThumb(k).setPicture(nullptr);
    kept_.clear();
    gResourceFormOpen = false;
    grabber::SetGrabWindow(nullptr);
    // A run that winds down gives the tray item back itself when it ends.
    kit::MenuItem& item = frmTivlo().mnuGrabbing;
    item.Enabled = item.Caption == kStopCaption ? !gStopGrabbing : !gGrabbing;
    ocxResource.SaveResourceSetting();
}

void FrmResource::setStatusText(const std::string& text) {
    sbThumbViewStatus.setPanelText(1, text);
}

void FrmResource::setGrabButton(const std::string& caption, bool enabled) {
    cmdGrabNow.setCaption(caption);
    cmdGrabNow.setEnabled(enabled);
}
