// The one kind of error a handler raises: its text is what the user reads.
#pragma once

#include <stdexcept>
#include <string>

namespace base {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The two tongues the program gives the system's reasons in: its own English
// messages, and the journal's Russian ones.
enum class Language { English, Russian };

// The system's description of errno without its trailing dots or blanks. In
// Russian, the failures a user meets with files are worded by the program
// itself, since the system speaks the locale's language, not the journal's;
// any other number keeps the system's text.
std::string SystemReason(int errorNumber, Language language = Language::English);

// "<what> "<absolute path>". <SystemReason(errorNumber)>".
Error FileError(const std::string& what, const std::string& windowsPath, int errorNumber);

// The same with a reason the system has no number for ("Not a regular file").
Error FileError(const std::string& what, const std::string& windowsPath, const std::string& reason);

// "Cannot open file "<absolute path>". <system's description>"; errorNumber 0
// stands for a file that opened but is no regular file (a FIFO, a device).
Error FileOpenError(const std::string& windowsPath, int errorNumber);

}  // namespace base
