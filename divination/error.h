// The one kind of error a handler raises: its text is what the user reads.
#pragma once

#include <stdexcept>
#include <string>

namespace divination {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file "<absolute path>". <system's description>" for errno.
Error FileOpenError(const std::string& windowsPath, int errorNumber);

}  // namespace divination
