// frmResource: the grab window. The settings editor on top, the button that starts and stops a
// grab run, five thumbnails of the download folder a page at a time, and a status bar.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "grabber/grab_window.h"
#include "grabber/resource_control.h"
#include "kit/controls.h"
#include "platform/files.h"

class FrmResource : public kit::Form, public grabber::GrabWindow {
public:
    FrmResource();
    ~FrmResource() override;

    // Shows page gThumbPage of the listing: label, page buttons, thumbnails.
    void ThumbView_Load();
    // Fills slots 0 .. count - 1 with the entries first .. first + count - 1 and hides the rest.
    void CreateThumbImage(int first, int count);
    void picThumb_Click(int index);
    // A new task from startURL (the crawl's own start).
    void InitGrabTask(const std::string& url);

    void cmdGrabNow_Click();
    void cmdHelp_Click();
    void cmdFirst_Click();
    void cmdBackward_Click();
    void cmdForward_Click();
    void cmdLast_Click();
    void tmrRefreshThumbView_Timer();

    // What the crawl writes while the window is open.
    void setStatusText(const std::string& text) override;
    void setGrabButton(const std::string& caption, bool enabled) override;

    OcxResource ocxResource;
    kit::CommandButton cmdGrabNow, cmdHelp, cmdExit;
    kit::CommandButton cmdFirst, cmdBackward, cmdForward, cmdLast;
    kit::Label lblThumbViewPage;
    kit::ControlArray<kit::Image> picThumb;
    kit::ControlArray<kit::Label> lblThumbView;
    kit::PictureBox picImg;
    kit::StatusBar sbThumbViewStatus;
    kit::Timer tmrRefreshThumbView;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;

private:
    // Lets pending events run; true when they closed the window, and the caller must stop.
    bool EventsClosedWindow();
    void CentrePageLabel();
    void ShowPageButtons(int page);
    void ShowFolderError();
    // Relists gDownloadFolder; false when it cannot be read.
    bool ListFolder();
    void PageButtonClicked(kit::CommandButton& button, int page);

    // A thumbnail kept between page builds, so a refresh over an unchanged folder decodes
    // nothing again: keyed by the file's name, size and write time.
    struct Thumb {
        platform::FileEntry file;
        int width = 0, height = 0;  // the picture's natural size; 0 x 0: unreadable
        kit::Picture picture;       // thumbnail-size copy
    };
    // The thumbnail of file, read and fitted when it is not kept already.
    Thumb MakeThumb(const platform::FileEntry& file, bool& closed);
    std::vector<Thumb> kept_;

    // 32-bit: a folder may hold more pictures than 16 bits index.
    std::int32_t mFirstIndex = 0;
    std::int32_t mPageFileCount = 0;
    std::int32_t mImageWidth = 0, mImageHeight = 0;
    std::int32_t mThumbWidth = 0, mThumbHeight = 0;
};

inline kit::FormInstance<FrmResource> frmResource;
