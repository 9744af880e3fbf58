#include "viewer/sized_preview.h"

#include <algorithm>
#include <exception>

#include "grabber/resource_state.h"
#include "kit/gdi.h"
#include "kit/picture_header.h"
#include "kit/picture_loader.h"
#include "kit/runtime.h"
#include "kit/window_proc.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"
#include "viewer/file_ops.h"
#include "viewer/gdiplus_resize.h"
#include "viewer/thumb_view.h"
#include "viewer/view_rules.h"

namespace {

using eViewRules::Command;

// The name of entry i of the listing; "" outside it.
std::string EntryName(int i) {
    kit::FileListBox& list = frmTivlo().flbThumbView;
    if (i < 0 || i >= list.ListCount()) return {};
    return list.List(i);
}

std::string LowerExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// GDI+ runs from start to stop around one picture: the stop comes on every way out.
class GdiPlusSession {
public:
    GdiPlusSession() : token_(eGDIPlusResize::StartGdiPlus()) {}
    ~GdiPlusSession() { eGDIPlusResize::StopGdiPlus(token_); }
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;

private:
    std::uintptr_t token_;
};

}  // namespace

void ResetViewerState() {
    gPreviewZoom = 1.0;
    gPreviewWideImage = gPreviewTallImage = false;
    gPreviewOldWndProc = 0;
}

FrmSizedPreview::FrmSizedPreview()
    : picPview(this, 16, 16), ImageViewStatus(this), tmrSlide(this, kSlideMs, false) {
    setScaleMode(kit::kScalePixels);
    setBackColor(0x000000);
    KeyPreview = true;
    mnuFile.Items = {&mnuExit};
    mnuEdit.Items = {&mnuDelete};
    mnuView.Items = {&mnuNext, &mnuPrevious, &mnuFirst, &mnuLast, &Sep2, &mnuReload};
    mnuZoom.Items = {&mnuZoomIn, &mnuZoomOut, &Sep3, &mnuFullSize, &mnuFitImage};
    mnuTools.Items = {&mnuSlideShow,      &Sep4,           &mnuRotateLeft, &mnuRotateRight,
                      &mnuFlipHorizontal, &mnuFlipVertical};
    setMenuBar({&mnuFile, &mnuEdit, &mnuView, &mnuZoom, &mnuTools});
    setClientSize(kClientWidthTwips, kClientHeightTwips);
    mRestoredWidth = kit::ToPixelsX(kClientWidthTwips, kit::kScaleTwips);
    mRestoredHeight = kit::ToPixelsY(kClientHeightTwips, kit::kScaleTwips);

    picPview.setBackColor(0x000000);
    picPview.setVisible(false);
    picPview.MouseDown = [this](int b, int s, int x, int y) { picPview_MouseDown(b, s, x, y); };
    picPview.MouseMove = [this](int b, int s, int x, int y) { picPview_MouseMove(b, s, x, y); };
    ImageViewStatus.AddPanel(110);
    ImageViewStatus.AddPanel(110);
    VScroll1.Change = [this] { VScroll1_Change(); };
    HScroll1.Change = [this] { HScroll1_Change(); };
    tmrSlide.OnTimer = [this] { mnuNext_Click(); };

    mnuExit.Click = [] { frmSizedPreview.Unload(); };
    mnuDelete.Click = [this] { mnuDelete_Click(); };
    mnuNext.Click = [this] { mnuNext_Click(); };
    mnuPrevious.Click = [this] { mnuPrevious_Click(); };
    mnuFirst.Click = [this] { GoTo(0); };
    mnuLast.Click = [this] { GoTo(gThumbFileCount - 1); };
    mnuReload.Click = [this] { LoadImage(0); };
    mnuFitImage.Click = [this] { LoadImage(0); };
    mnuZoomIn.Click = [this] {
        gPreviewZoom = eViewRules::ZoomIn(gPreviewZoom);
        LoadImage(1);
    };
    mnuZoomOut.Click = [this] {
        gPreviewZoom = eViewRules::ZoomOut(gPreviewZoom);
        LoadImage(1);
    };
    mnuFullSize.Click = [this] {
        gPreviewZoom = 1.0;
        LoadImage(1);
    };
    mnuSlideShow.Click = [this] { mnuSlideShow_Click(); };
    mnuRotateLeft.Click = [this] { LoadImage(4); };
    mnuRotateRight.Click = [this] { LoadImage(5); };
    mnuFlipHorizontal.Click = [this] { LoadImage(2); };
    mnuFlipVertical.Click = [this] { LoadImage(3); };
}

// ---- opening and closing ----

void FrmSizedPreview::Form_Load() {
    // Without the hook the viewer works on, without the wheel.
    try {
        gPreviewOldWndProc = kit::GetWndLong(hWnd(), kit::kGwlWndProc);
        if (kit::SetWndLong(hWnd(), kit::kGwlWndProc,
                            kit::AddressOfWndProc(eThumbView::PreviewWindowProc)) != 0)
            mHooked = true;
    } catch (const std::exception&) {
    }
    LoadImage(0);
    if (mClosed) return;
    gPreviewOpen = true;
}

void FrmSizedPreview::Form_Unload(int&) {
    if (mHooked) {
        kit::SetWndLong(hWnd(), kit::kGwlWndProc, gPreviewOldWndProc);
        mHooked = false;
    }
    picPview.setPicture(nullptr);
    tmrSlide.setEnabled(false);
    gPreviewOpen = false;
    mClosed = true;
}

bool FrmSizedPreview::Pump() {
    kit::DoEvents();
    return !mClosed;
}

bool FrmSizedPreview::PumpLayout(long serial) { return Pump() && serial == mLayoutSerial; }

void FrmSizedPreview::Room(int& sw, int& sh, int& sb) const {
    sw = mRestoredWidth;
    sh = mRestoredHeight;
    if (WindowState() != kit::kStateMinimized) {
        int w = 0, h = 0;
        clientSizePx(w, h);
        if (w > 0 || h > 0) {
            sw = w;
            sh = h;
        }
    }
    sb = ImageViewStatus.Visible() ? ImageViewStatus.heightPx() : 0;
}

void FrmSizedPreview::Form_Resize() {
    if (WindowState() == kit::kStateMinimized) return;
    clientSizePx(mRestoredWidth, mRestoredHeight);
    LoadImage(1);
}

// ---- LoadImage and the layout ----

void FrmSizedPreview::LoadImage(std::int16_t mode) {
    if (!Pump()) return;
    try {
        LayoutImage(mode);
    } catch (const kit::RuntimeError&) {
        // The layout stops where it failed; the box stays hidden.
    }
    if (!Pump()) return;
    ImageViewStatus.setPanelText(
        1, std::to_string(gCurrentPicture + 1) + "/" + std::to_string(gThumbFileCount));
    ImageViewStatus.setPanelText(2,
                                 std::to_string(mImageWidth) + "x" + std::to_string(mImageHeight));
    ImageViewStatus.setPanelText(3, eViewRules::PercentText(gPreviewZoom));
    setCaption(eViewRules::JoinPath(gDownloadFolder, EntryName(gCurrentPicture)));
    if (!Pump()) return;
    for (kit::MenuItem* item :
         {&mnuDelete, &mnuNext, &mnuPrevious, &mnuFirst, &mnuLast, &mnuReload, &mnuZoomIn,
          &mnuZoomOut, &mnuFullSize, &mnuFitImage, &mnuSlideShow, &mnuRotateLeft, &mnuRotateRight,
          &mnuFlipHorizontal, &mnuFlipVertical})
        item->Enabled = true;
    if (gPreviewZoom <= 0.1)
        mnuZoomOut.Enabled = false;
    else if (gPreviewZoom == 1.0)
        mnuZoomIn.Enabled = false;
}

void FrmSizedPreview::ClearPicture() {
    picPview.setPicture(nullptr);
    mImageWidth = mImageHeight = 0;
}

bool FrmSizedPreview::ReadPicture() {
    const std::string name = EntryName(gCurrentPicture);
    if (name.empty()) {
        ClearPicture();  // an index outside the list is never read
        return false;
    }
    const std::string path = eViewRules::JoinPath(gDownloadFolder, name);
    if (LowerExtension(name) != ".png") {
        kit::Picture picture;
        try {
            picture = kit::LoadPicture(path);
        } catch (const kit::RuntimeError&) {
        }
        const kit::PictureSize size = kit::SizeOf(picture);
        if (!picture || size.width < 1 || size.height < 1) {
            ClearPicture();
            return false;
        }
        picPview.setPicture(std::move(picture));
        mImageWidth = size.width;
        mImageHeight = size.height;
        return true;
    }
    GdiPlusSession session;
    if (!Pump()) return false;
    // The query and the creation share GDI+'s one image slot: nothing may run between them.
    std::int32_t w = -1, h = -1;
    const ImageSize size = eGDIPlusResize::LoadImageSize(path, w, h);
    kit::Picture picture;
    // A picture past the pixel cap is never drawn at its natural size: it counts as unreadable.
    if (size.Width > 0 && size.Height > 0 && kit::WithinPixelCap(size.Width, size.Height))
        picture = eGDIPlusResize::CreateResizedPicture(size.Width, size.Height, 0xFFFFFF, false);
    else
        eGDIPlusResize::DisposeImage();
    if (!picture) {
        ClearPicture();
        return false;
    }
    picPview.setPicture(std::move(picture));
    mImageWidth = size.Width;
    mImageHeight = size.Height;
    return true;
}

void FrmSizedPreview::LayoutImage(int mode) {
    const long serial = ++mLayoutSerial;
    if (!PumpLayout(serial)) return;
    picPview.setVisible(false);
    int sw, sh, sb;
    if (mode == 0) {
        const bool read = ReadPicture();
        if (!PumpLayout(serial) || !read) return;
        Room(sw, sh, sb);
        const eViewRules::Size fit = eViewRules::Fit(mImageWidth, mImageHeight, sw, sh - sb);
        mDisplayWidth = fit.width;
        mDisplayHeight = fit.height;
        gPreviewZoom = eViewRules::ZoomOfFit(mDisplayWidth, mImageWidth);
    } else {
        // Nothing to lay out after a failed load: the window stays black.
        if (!picPview.picture() || mImageWidth < 1 || mImageHeight < 1) return;
        if (mode == 1) {
            mDisplayWidth = eViewRules::Scaled(mImageWidth, gPreviewZoom);
            mDisplayHeight = eViewRules::Scaled(mImageHeight, gPreviewZoom);
        } else if (!TransformImage(mode) || !PumpLayout(serial)) {
            return;
        }
    }
    Room(sw, sh, sb);
    const int a = sh - sb;
    if (!PumpLayout(serial)) return;
    gPreviewWideImage = sw < mDisplayWidth;
    if (gPreviewWideImage) {
        VScroll1.setMax(mDisplayWidth - sw);
        VScroll1.setValue((mDisplayWidth - sw) / 2);
    }
    if (!PumpLayout(serial)) return;
    gPreviewTallImage = a < mDisplayHeight;
    if (gPreviewTallImage) {
        HScroll1.setMax(mDisplayHeight - a);
        HScroll1.setValue((mDisplayHeight - a) / 2);
    }
    if (!PumpLayout(serial)) return;
    // An overflowing picture goes where its offset puts it, which is centred to half a pixel.
    const double left =
        gPreviewWideImage ? sw - mDisplayWidth + VScroll1.Value() : (sw - mDisplayWidth) / 2.0;
    const double top = gPreviewTallImage ? sh - sb - mDisplayHeight + HScroll1.Value()
                                         : (sh - mDisplayHeight - sb) / 2.0;
    picPview.Move(left, top, mDisplayWidth, mDisplayHeight);
    if (!PumpLayout(serial)) return;
    picPview.Cls();
    if (const kit::Picture& p = picPview.picture())
        kit::gdi().renderPicture(picPview.hDC(), p->object(), 0, 0, mDisplayWidth, mDisplayHeight);
    picPview.setVisible(true);
    picPview.Refresh();
    Pump();
}

bool FrmSizedPreview::TransformImage(int mode) {
    const int w = mImageWidth, h = mImageHeight;
    const bool turn = mode == 4 || mode == 5;
    const int nw = turn ? h : w, nh = turn ? w : h;
    const auto points = eViewRules::TransformPoints(mode, w, h);
    mPlgPoints = points;
    kit::Picture source = picPview.picture();
    kit::Gdi& g = kit::gdi();
    // The transformed picture is a natural-size copy; the drawn image stays at display size.
    const kit::Handle screen = g.getDC(0);
    const kit::Handle srcDC = g.createCompatibleDC(screen);
    const kit::Handle dstDC = g.createCompatibleDC(screen);
    const kit::Handle bitmap = g.createCompatibleBitmap(screen, nw, nh);
    g.releaseDC(0, screen);
    bool ok = srcDC && dstDC && bitmap;
    if (ok) {
        const kit::Handle oldSrc = g.selectObject(srcDC, source->handle());
        const kit::Handle oldDst = g.selectObject(dstDC, bitmap);
        ok = g.plgBlt(dstDC, points.data(), srcDC, 0, 0, w, h);
        g.selectObject(srcDC, oldSrc);
        g.selectObject(dstDC, oldDst);
    }
    if (srcDC) g.deleteDC(srcDC);
    if (dstDC) g.deleteDC(dstDC);
    if (!ok) {
        if (bitmap) g.deleteObject(bitmap);
        return false;
    }
    source.reset();
    picPview.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, bitmap, true));
    if (turn) {
        std::swap(mImageWidth, mImageHeight);
        std::swap(mDisplayWidth, mDisplayHeight);
    }
    return true;
}

void FrmSizedPreview::VScroll1_Change() {
    if (!gPreviewWideImage) return;
    int sw, sh, sb;
    Room(sw, sh, sb);
    picPview.setLeft(sw - mDisplayWidth + VScroll1.Value());
}

void FrmSizedPreview::HScroll1_Change() {
    if (!gPreviewTallImage) return;
    int sw, sh, sb;
    Room(sw, sh, sb);
    picPview.setTop(sh - sb - mDisplayHeight + HScroll1.Value());
}

// ---- commands ----

void FrmSizedPreview::GoTo(int index) {
    gCurrentPicture = index;
    LoadImage(0);
}

void FrmSizedPreview::mnuNext_Click() {
    if (gThumbFileCount <= 0) return;
    GoTo(eViewRules::NextIndex(gCurrentPicture, gThumbFileCount));
}

void FrmSizedPreview::mnuPrevious_Click() {
    if (gThumbFileCount <= 0) return;
    GoTo(eViewRules::PreviousIndex(gCurrentPicture, gThumbFileCount));
}

void FrmSizedPreview::mnuSlideShow_Click() {
    if (mnuSlideShow.Caption == kSlideShowCaption) {
        tmrSlide.setEnabled(true);
        mnuSlideShow.Caption = kStopCaption;
    } else {
        tmrSlide.setEnabled(false);
        mnuSlideShow.Caption = kSlideShowCaption;
    }
}

void FrmSizedPreview::mnuDelete_Click() {
    // The picture on screen when the command is given, whatever runs meanwhile.
    const int i = gCurrentPicture;
    const std::string name = EntryName(i);
    if (!Pump() || name.empty()) return;
    if (!eFile::ShellDeleteFile(eViewRules::JoinPath(gDownloadFolder, name))) return;
    if (mClosed) return;
    kit::FileListBox& list = frmTivlo().flbThumbView;
    try {
        list.setPath(gDownloadFolder);
        list.Refresh();
    } catch (const kit::RuntimeError&) {
        return;
    }
    gThumbFileCount = list.ListCount();
    if (!Pump()) return;
    if (gThumbFileCount == 0) {
        frmSizedPreview.Unload();
        return;
    }
    gCurrentPicture = i >= gThumbFileCount ? 0 : i;
    if (!Pump()) return;
    LoadImage(0);
    Pump();
}

// ---- keys and the mouse ----

void FrmSizedPreview::Form_KeyDown(int& keyCode, int) { mKeysDown.insert(keyCode); }

void FrmSizedPreview::Form_KeyUp(int& keyCode, int shift) {
    // A release whose press went elsewhere (the shell's confirmation box) is not
    // ours.
    if (mKeysDown.erase(keyCode) == 0) return;
    auto when = [](const kit::MenuItem& item) { return item.Enabled; };
    switch (eViewRules::KeyCommand(keyCode, shift)) {
        case Command::ZoomIn:
            if (when(mnuZoomIn)) mnuZoomIn.Click();
            break;
        case Command::ZoomOut:
            if (when(mnuZoomOut)) mnuZoomOut.Click();
            break;
        case Command::FullSize:
            if (when(mnuFullSize)) mnuFullSize.Click();
            break;
        case Command::Reload:
            if (when(mnuReload)) mnuReload.Click();
            break;
        case Command::SlideShow:
            if (when(mnuSlideShow)) mnuSlideShow.Click();
            break;
        case Command::Exit: mnuExit.Click(); break;
        case Command::FlipHorizontal: mnuFlipHorizontal.Click(); break;
        case Command::FlipVertical: mnuFlipVertical.Click(); break;
        case Command::RotateLeft: mnuRotateLeft.Click(); break;
        case Command::RotateRight: mnuRotateRight.Click(); break;
        case Command::Next:
            if (when(mnuNext)) mnuNext.Click();
            break;
        case Command::Previous:
            if (when(mnuPrevious)) mnuPrevious.Click();
            break;
        case Command::First:
            if (when(mnuFirst)) mnuFirst.Click();
            break;
        case Command::Last:
            if (when(mnuLast)) mnuLast.Click();
            break;
        case Command::Delete:
            if (when(mnuDelete)) mnuDelete.Click();
            break;
        case Command::None: break;
    }
}

void FrmSizedPreview::picPview_MouseDown(int button, int, int x, int y) {
    if (button != kit::kLeftButton) return;
    mGrabX = static_cast<std::int16_t>(x);
    mGrabY = static_cast<std::int16_t>(y);
}

void FrmSizedPreview::picPview_MouseMove(int button, int, int x, int y) {
    if (button != kit::kLeftButton) return;
    mDragX = static_cast<std::int16_t>(x - mGrabX);
    mDragY = static_cast<std::int16_t>(y - mGrabY);
    DragScrollImage();
}

void FrmSizedPreview::DragScrollImage() {
    if (!Pump()) return;
    int sw, sh, sb;
    Room(sw, sh, sb);
    if (gPreviewWideImage) {
        mDragX = static_cast<std::int16_t>(
            eViewRules::ClampPan(picPview.leftPx(), mDisplayWidth, sw, mDragX));
        VScroll1.setValue(std::clamp(VScroll1.Value() + mDragX, 0, VScroll1.Max()));
    }
    if (!Pump()) return;
    Room(sw, sh, sb);
    if (gPreviewTallImage) {
        mDragY = static_cast<std::int16_t>(
            eViewRules::ClampPan(picPview.topPx(), mDisplayHeight, sh - sb, mDragY));
        HScroll1.setValue(std::clamp(HScroll1.Value() + mDragY, 0, HScroll1.Max()));
    }
    Pump();
}
