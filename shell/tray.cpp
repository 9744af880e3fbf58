#include "shell/tray.h"

#include "platform/services.h"
#include "shell/tivlo_form.h"

namespace eTray {

void CreateIconCanvas(kit::Handle formDC) {
    kit::Gdi& g = kit::gdi();
    gIconDC = g.createCompatibleDC(formDC);
    // Compatible with the fresh memory context, hence monochrome: the icon's mask.
    gIconBitmap = g.createCompatibleBitmap(gIconDC, 16, 16);
    gIconOldBitmap = g.selectObject(gIconDC, gIconBitmap);
}

void AddTrayIcons() {
    FrmTivlo& form = frmTivlo();
    form.tmpIcon.Load(1);
    for (int i = 0; i < 2; ++i) {
        platform::NotifyIconData& rec = gTrayIcons[i];
        rec = platform::NotifyIconData{};
        rec.cbSize = platform::kNotifyIconDataV1Size;
        rec.hWnd = form.tmpIcon(i).hWnd();
        rec.uID = 1;
        rec.uFlags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
        rec.uCallbackMessage = 0x200;
        platform::tray().notifyIcon(platform::kNimAdd, rec);
    }
}

void MakeTrayIcon(kit::PictureBox& target) {
    kit::Gdi& g = kit::gdi();
    FrmTivlo& form = frmTivlo();
    // Background colour of the mask turns white (transparent), everything else black.
    g.bitBlt(gIconDC, 0, 0, 16, 16, form.picMask.hDC(), 0, 0, kit::kSrcCopy);

    kit::Handle tempDC = g.createCompatibleDC(0);
    kit::Handle colorBitmap = g.createCompatibleBitmap(target.hDC(), 16, 16);
    kit::Handle firstBitmap = g.selectObject(tempDC, colorBitmap);
    g.bitBlt(tempDC, 0, 0, 16, 16, form.picImage.hDC(), 0, 0, kit::kSrcCopy);

    g.selectObject(tempDC, firstBitmap);
    g.selectObject(gIconDC, gIconOldBitmap);

    kit::IconInfo info;
    info.fIcon = true;
    info.xHotspot = 8;
    info.yHotspot = 8;
    info.hbmMask = gIconBitmap;
    info.hbmColor = colorBitmap;
    kit::Handle icon = g.createIconIndirect(info);
    // The picture owns the icon; the previous picture, and its icon, go here.
    target.setPicture(kit::CreatePicture(kit::kPictureTypeIcon, icon, true));

    g.selectObject(gIconDC, gIconBitmap);
    g.deleteObject(colorBitmap);
    g.deleteObject(firstBitmap);
    g.deleteDC(tempDC);
}

void ReleaseIconCanvas() {
    kit::Gdi& g = kit::gdi();
    g.selectObject(gIconDC, gIconOldBitmap);
    g.deleteObject(gIconBitmap);
    g.deleteDC(gIconDC);
    gIconDC = gIconBitmap = gIconOldBitmap = 0;
}

void RemoveTrayIcons() {
    for (int i = 0; i < 2; ++i) platform::tray().notifyIcon(platform::kNimDelete, gTrayIcons[i]);
    FrmTivlo& form = frmTivlo();
    for (int i = form.tmpIcon.UBound(); i >= 1; --i) form.tmpIcon.Unload(i);
}

}  // namespace eTray
