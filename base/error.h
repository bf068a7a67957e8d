// The one kind of error a handler raises: its text is what the user reads.
#pragma once

#include <stdexcept>
#include <string>

namespace base {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<what> "<absolute path>". <system's description>" for errno, the
// description without its trailing dots or blanks.
Error FileError(const std::string& what, const std::string& windowsPath, int errorNumber);

// The same with a reason the system has no number for ("Not a regular file").
Error FileError(const std::string& what, const std::string& windowsPath, const std::string& reason);

// "Cannot open file "<absolute path>". <system's description>"; errorNumber 0
// stands for a file that opened but is no regular file (a FIFO, a device).
Error FileOpenError(const std::string& windowsPath, int errorNumber);

}  // namespace base
