// The image viewer frmSizedPreview: one picture of the download folder at a
// time, fitted to the window, with zoom, turns and flips, a slide show,
// deletion to the recycle bin, keys, the mouse wheel and dragging. Every command ends in LoadImage.
#pragma once
#include <array>
#include <cstdint>
#include <set>

#include "kit/controls.h"
#include "kit/value_bar.h"

// The zoom of the picture shown (1.0 natural size), and whether it overflows the room.
inline double gPreviewZoom = 1.0;
inline bool gPreviewWideImage = false;
inline bool gPreviewTallImage = false;

class FrmSizedPreview : public kit::Form {
public:
    // The client area below the menu bar as designed, in twips.
    static constexpr int kClientWidthTwips = 10020, kClientHeightTwips = 9030;
    static constexpr unsigned kSlideMs = 3000;
    static constexpr const char* kSlideShowCaption = "&Slide Show      Ctrl+S";
    static constexpr const char* kStopCaption = "&Stop            Ctrl+S";

    FrmSizedPreview();

    // mode 0: read entry gCurrentPicture and fit it; 1: lay it out again at
    // gPreviewZoom; 2, 3: flip horizontally, vertically; 4, 5: turn left, right.
    void LoadImage(std::int16_t mode);
    void mnuNext_Click();
    void mnuPrevious_Click();

    kit::MenuItem mnuFile{"&File"}, mnuExit{"E&xit            Ctrl+X"};
    kit::MenuItem mnuEdit{"&Edit"}, mnuDelete{"&Delete             DEL"};
    kit::MenuItem mnuView{"&View"}, mnuNext{"&Next            PageDn"},
        mnuPrevious{"&Previous        PageUp"}, mnuFirst{"F&irst             Home"},
        mnuLast{"&Last               End"}, Sep2{"-"}, mnuReload{"&Reload              F2"};
    kit::MenuItem mnuZoom{"&Zoom"}, mnuZoomIn{"Zoom &In       NumPad +"},
        mnuZoomOut{"Zoom &Out      NumPad -"}, Sep3{"-"}, mnuFullSize{"F&ull Size     NumPad /"},
        mnuFitImage{"Fit &Image     NumPad *"};
    kit::MenuItem mnuTools{"&Tools"}, mnuSlideShow{kSlideShowCaption}, Sep4{"-"},
        mnuRotateLeft{"Rotate &Left     Ctrl+L"}, mnuRotateRight{"Rotate &Right    Ctrl+R"},
        mnuFlipHorizontal{"Flip &Horizontal Ctrl+H"}, mnuFlipVertical{"Flip &Vertical   Ctrl+V"};

    kit::PictureBox picPview;
    kit::StatusBar ImageViewStatus;
    // The horizontal and the vertical pan offset.
    kit::ValueBar VScroll1, HScroll1;
    kit::Timer tmrSlide;

    std::int32_t mImageWidth = 0, mImageHeight = 0;
    std::int32_t mDisplayWidth = 0, mDisplayHeight = 0;
    std::array<kit::GdiPoint, 3> mPlgPoints{};
    bool mHooked = false;
    std::int16_t mGrabX = 0, mGrabY = 0, mDragX = 0, mDragY = 0;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyUp(int& keyCode, int shift) override;

private:
    void mnuDelete_Click();
    void mnuSlideShow_Click();
    void GoTo(int index);
    void picPview_MouseDown(int button, int shift, int x, int y);
    void picPview_MouseMove(int button, int shift, int x, int y);
    void DragScrollImage();
    void VScroll1_Change();
    void HScroll1_Change();
    void LayoutImage(int mode);
    bool ReadPicture();
    bool TransformImage(int mode);
    void ClearPicture();
    // SW, SH (below the menu bar) and SB; while minimised the restored client area.
    void Room(int& sw, int& sh, int& sb) const;
    // Lets pending events run; false once the viewer is closed.
    bool Pump();
    // Lets pending events run inside a layout; false when the viewer closed or a
    // newer layout took over.
    bool PumpLayout(long serial);

    bool mClosed = false;
    long mLayoutSerial = 0;
    int mRestoredWidth = 0, mRestoredHeight = 0;
    std::set<int> mKeysDown;
};

inline kit::FormInstance<FrmSizedPreview> frmSizedPreview;

// Back to the state of a fresh process (tests).
void ResetViewerState();
