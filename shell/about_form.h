// The About box: the product's name and version, its maker, and its home page as a link.
#pragma once
#include <cstdint>
#include <vector>

#include "kit/controls.h"

class FrmAbout : public kit::Form {
public:
    FrmAbout();

    void cmdOK_Click();
    // The pointer over the link: underlined and blue.
    void lblWebPage_MouseMove(int button, int shift, int x, int y);
    // The pointer left the link: not underlined, cyan.
    void lblWebPage_DragOver();
    // The button released over the link: opens the address in the browser.
    void lblWebPage_DragDrop();

    kit::PictureBox picMark;
    kit::Label lblSoftwareVersion;
    kit::Label lblSoftwareAuther;
    kit::Line Line1;
    kit::Line Line2;
    kit::Label lblNote;
    kit::Label lblWebPage;
    kit::CommandButton cmdOK;

protected:
    void Form_Load() override;
};

inline kit::FormInstance<FrmAbout> frmAbout;

// The product picture: a clock face, size x size pixels, as 24-bit rows (blue, green, red),
// top row first, on the About box's background.
std::vector<std::uint8_t> ProductMarkPixels(int size);
