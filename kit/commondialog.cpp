#include "kit/commondialog.h"

#include "kit/form.h"
#include "kit/runtime.h"

namespace kit {

void CommonDialog::ShowOpen() {
    OpenFileRequest request;
    request.owner = owner() ? owner()->hWnd() : 0;
    request.flags = flags_;
    request.fileName = fileName_;
    request.filter = filter_;
    std::optional<std::string> chosen = ShowOpenFileDialog(request);
    if (chosen) {
        fileName_ = *chosen;
        return;
    }
    if (cancelError_) throw RuntimeError(kErrDialogCancelled, "Cancel was selected.");
}

}  // namespace kit
