#include "viewer/file_ops.h"

#include <exception>

#include "platform/services.h"

namespace eFile {

bool ShellDeleteFile(const std::string& path) {
    try {
        platform::ShFileOpStruct op;
        op.hwnd = 0;
        op.wFunc = platform::kFoDelete;
        op.pFrom = path + std::string(2,
                                      '\0');  // the path, then the empty entry that ends the list
        op.fFlags = platform::kFofAllowUndo;
        const int r = platform::shell().fileOperation(op);
        // The shell returns 0 also when the user answered No.
        return r == 0 && !op.fAnyOperationsAborted;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace eFile
