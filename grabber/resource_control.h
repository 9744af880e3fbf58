// ocxResource: the grab settings editor at the top of the grab window. Every accepted edit goes
// to its process-wide variable at once; the registry is written when the window closes.
#pragma once
#include <string>

#include "kit/controls.h"

class OcxResource : public kit::UserControl {
public:
    explicit OcxResource(kit::Container* parent);

    // Shows folder in the folder box; the caller has set gDownloadFolder.
    void ChangeFileFolder(const std::string& folder);
    // Writes the thirteen grab settings, in their order; failures are ignored.
    void SaveResourceSetting();

    kit::Frame fmeFormats, fmeLimit, fmeFileFolder, fmeSearch;
    kit::ControlArray<kit::CheckBox> chkImage;
    kit::CheckBox chkImageSize;
    kit::Label lblImageWidth, lblWidthPixel, lblImageHeight, lblHeightPixel;
    kit::TextBox txtImageWidth, txtImageHeight;
    kit::UpDown udImageWidth, udImageHeight;
    kit::CheckBox chkImageFileSize;
    kit::Label lblImageFileSize, lblImageKB;
    kit::TextBox txtImageFileSize;
    kit::UpDown udImageFileSize;
    kit::Label Label4, Label5;
    kit::TextBox txtFileName, txtFileFolder;
    kit::CommandButton cmdChangeFileFolder;
    kit::CheckBox chkDispParseWindow;
    kit::Label Label6, Label1;
    kit::TextBox txtWebsiteURL, txtSearchKeyword;

protected:
    void UserControl_Initialize() override;

private:
    void chkImage_Click(int index);
    void chkImageSize_Click();
    void chkImageFileSize_Click();
    void chkDispParseWindow_Click();
    void NumberBox_Change(kit::TextBox& box, kit::UpDown& ud, std::int16_t& variable);
    void txtFileName_Change();
    void cmdChangeFileFolder_Click();
    void txtWebsiteURL_LostFocus();
    void txtSearchKeyword_Change();
    void txtSearchKeyword_LostFocus();
    void RememberText(kit::TextBox& box);
    void SelectAll(kit::TextBox& box);

    // The remembered text of the four edit boxes: one member shared by all of them.
    std::string mLastGoodText;
    std::string mLastValidKeyword;
};
