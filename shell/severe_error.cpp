#include "shell/severe_error.h"

namespace shell {

void EndWithSevereError(kit::Form& form) {
    kit::RunProcessEndActions();
    form.MsgBox("Severe error has occured !", kit::kMbIconError, "Tivlo 2.3");
    kit::End(0);
}

}  // namespace shell
