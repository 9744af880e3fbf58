// The common dialog component: the platform's modal file-open dialog with its flags, filter
// and file name; a cancel raises an error when CancelError asks for one.
#pragma once
#include <optional>
#include <string>

#include "kit/component.h"

namespace kit {

// OFN_CREATEPROMPT: ask before a file that does not exist is created.
constexpr unsigned kCdlOfnCreatePrompt = 0x2000;

struct OpenFileRequest {
    Handle owner = 0;
    unsigned flags = 0;
    std::string fileName;  // shown at first
    // Pairs of description and patterns, each followed by "|" ("Sound|*.wav;*.mp3|").
    std::string filter;
};

// Shows the backend's modal file-open dialog: the chosen path, or nothing when cancelled.
std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request);

class CommonDialog : public Component {
public:
    explicit CommonDialog(Form* owner) : Component(owner) {}

    unsigned Flags() const { return flags_; }
    void setFlags(unsigned f) { flags_ = f; }
    const std::string& FileName() const { return fileName_; }
    void setFileName(const std::string& f) { fileName_ = f; }
    const std::string& Filter() const { return filter_; }
    void setFilter(const std::string& f) { filter_ = f; }
    bool CancelError() const { return cancelError_; }
    void setCancelError(bool on) { cancelError_ = on; }

    // Modal, owned by the form. A chosen file becomes FileName; a cancel keeps it and raises
    // kErrDialogCancelled when CancelError is set.
    void ShowOpen();

private:
    unsigned flags_ = 0;
    std::string fileName_, filter_;
    bool cancelError_ = false;
};

}  // namespace kit
