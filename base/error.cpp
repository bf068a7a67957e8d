// The errors a handler raises, and how a file's failure is worded.
#include "base/error.h"

#include <cstring>

#include "base/text_file.h"

namespace base {

Error FileError(const std::string& what, const std::string& windowsPath, int errorNumber) {
    std::string reason = std::strerror(errorNumber);
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return FileError(what, windowsPath, reason);
}

Error FileError(const std::string& what, const std::string& windowsPath,
                const std::string& reason) {
    return Error(what + " \"" + AbsolutePathText(windowsPath) + "\". " + reason);
}

Error FileOpenError(const std::string& windowsPath, int errorNumber) {
    if (errorNumber == 0)
        return FileError("Cannot open file", windowsPath, "Not a regular file");
    return FileError("Cannot open file", windowsPath, errorNumber);
}

}  // namespace base
