#include "grabber/browser_folder.h"

#include "platform/services.h"

namespace eBrowserFolder {

std::string BrowseForFolder(kit::Handle hWndOwner, const std::string& startFolder) {
    return platform::shell().browseForFolder(hWndOwner, kTitle, kFlags, startFolder);
}

}  // namespace eBrowserFolder
