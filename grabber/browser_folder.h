// eBrowserFolder: the shell's folder dialog, opened on the folder chosen so far.
#pragma once
#include <string>

#include "kit/backend.h"

namespace eBrowserFolder {

constexpr const char* kTitle = "Select the destination directory";
// BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN; no status line.
constexpr unsigned kFlags = 1 | 2;

// The chosen folder's path, or "" when the dialog is cancelled.
std::string BrowseForFolder(kit::Handle hWndOwner, const std::string& startFolder);

}  // namespace eBrowserFolder
