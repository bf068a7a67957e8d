// Text files at the program's edge: Windows paths, Windows-1251 bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// ".\Text\Text12.dat" → "Text/Text12.dat": backslashes become the native
// separator, the letters and their case stay.
std::filesystem::path NativePath(std::string_view windowsPath);

// The path as the user is shown it: expanded against the working folder.
std::string AbsolutePathText(std::string_view windowsPath);

// Windows-1251 → UTF-8. Every byte decodes; 0x98, unassigned in the code
// page, becomes U+0098 as Windows has it.
std::string DecodeCp1251(std::string_view bytes);

// UTF-8 → Windows-1251. Throws Error naming the first character that the
// code page can't hold, so nothing is lost silently.
std::string EncodeCp1251(std::string_view utf8);

// CR LF, a lone CR and a lone LF each become one "\n".
std::string UniformLineBreaks(std::string_view text);

// A reading is a few kilobytes; anything past this is not one, and reading
// it whole would only stall the window.
inline constexpr size_t kMaxReadingBytes = 4 * 1024 * 1024;

// Why a regular file could not be read whole.
enum class ReadFailure { None, CannotOpen, NotRegular, TooLarge, CannotRead };

struct RegularFile {
    std::string bytes;
    ReadFailure failure = ReadFailure::None;
    // errno for CannotOpen and CannotRead; for NotRegular, EISDIR for a
    // folder and 0 for anything else (a FIFO, a device).
    int errorNumber = 0;
    // What the file held when it was opened: less read means it shrank.
    std::uintmax_t sizeAtOpen = 0;
};

// Reads the regular file at a native path whole, up to maxBytes, and says
// what stopped it; each caller words that itself. The open never blocks (a
// FIFO, a device); a file that grows past maxBytes while it is read is
// TooLarge, as one that was larger from the start.
RegularFile ReadRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// The bytes of a regular file of at most maxBytes, read whole. The open never
// blocks (a FIFO, a device); what is not a regular file counts as a file that
// can't be opened. nullopt, with openError set to errno (EISDIR for a folder,
// 0 for anything else that is not a regular file), when it can't be opened;
// throws FileError(failure, …) when it opens but can't be read or is larger.
std::optional<std::string> TryReadFile(std::string_view windowsPath, size_t maxBytes,
                                       int& openError,
                                       const std::string& failure = "Cannot read file");

// The same, but every failure is the file-open error, "Cannot open file
// "<path>". <reason>", the reason "Not a regular file" for a FIFO or device.
std::string ReadFile(std::string_view windowsPath, size_t maxBytes);

// Reads the whole file, read-only, every time (nothing is cached), and
// returns it decoded, with uniform line breaks. Throws the errors of
// ReadFile, with kMaxReadingBytes as the limit.
std::string LoadText(std::string_view windowsPath);

}  // namespace base
