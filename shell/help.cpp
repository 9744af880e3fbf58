#include "shell/help.h"

#include "platform/services.h"
#include "shell/product.h"

namespace shell {

std::string HelpFilePath() { return kit::backend().appPath() + "\\" + product::kHelpFile; }

std::intptr_t OpenHelp(kit::Handle owner) {
    constexpr int kShowNormal = 1;
    return platform::shell().execute(owner, "open", HelpFilePath(), "", "", kShowNormal);
}

}  // namespace shell
