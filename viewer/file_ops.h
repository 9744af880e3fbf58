// eFile: deleting a file to the recycle bin through the shell, with its own confirmation.
#pragma once
#include <string>

namespace eFile {

// True only when the shell moved the file: a failure, or the user declining the
// shell's confirmation, is false.
bool ShellDeleteFile(const std::string& path);

}  // namespace eFile
