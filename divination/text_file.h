// Text files at the program's edge: Windows paths, Windows-1251 bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace divination {

// ".\Text\Text12.dat" → "Text/Text12.dat": backslashes become the native
// separator, the letters and their case stay.
std::filesystem::path NativePath(std::string_view windowsPath);

// The path as the user is shown it: expanded against the working folder.
std::string AbsolutePathText(std::string_view windowsPath);

// ".\Text\Text<n>.dat", n in decimal without leading zeros (1…65).
std::string ReadingFilePath(int n);

// Windows-1251 → UTF-8. Every byte decodes; 0x98, unassigned in the code
// page, becomes U+0098 as Windows has it.
std::string DecodeCp1251(std::string_view bytes);

// UTF-8 → Windows-1251. Throws Error naming the first character that the
// code page can't hold, so nothing is lost silently.
std::string EncodeCp1251(std::string_view utf8);

// CR LF, a lone CR and a lone LF each become one "\n".
std::string UniformLineBreaks(std::string_view text);

// Reads the whole file, read-only, every time (nothing is cached), and
// returns it decoded, with uniform line breaks. Throws FileOpenError.
std::string LoadText(std::string_view windowsPath);

}  // namespace divination
