// Save.Bmp: one line of eleven fields, Windows-1251, CR LF.
//   six reals, 23 characters each (" 3.00000000000000E+0000"), each + blank
//   four integers, each + blank
//   the font name up to the line end
#pragma once

#include <string>
#include <string_view>

#include "settings/settings.h"

namespace settings {

inline constexpr const char* kSettingsFile = ".\\Save.Bmp";

// One line of eleven fields; a file past this is not one this program wrote.
inline constexpr size_t kMaxSettingsBytes = 1024 * 1024;

// What the load writes when the file can't be opened. FontStyleCode is not
// part of the defaults: it keeps what it held.
Settings Defaults(const Settings& current);

// A real in exactly 23 characters: sign (blank or "-"), one digit, ".",
// 14 digits, "E", exponent sign, 4 exponent digits; 15 significant digits.
std::string FormatReal(double value);

// The file's bytes for these settings. Throws base::Error when the
// font name holds a character that Windows-1251 can't, rather than lose it.
std::string FormatSettings(const Settings& values);

struct ParsedSettings {
    Settings values;
    bool invalidNumber = false;  // some field was not a number
};

// Reads the fields as a hand-edited file may hold them: numbers separated by
// any characters up to code 32, missing numbers at the end read as 0, code
// 26 ends the file, the font name runs from just after the tenth number to
// the end of that line, without its leading blanks.
ParsedSettings ParseSettings(std::string_view bytes);

// The shortest decimal text of a value: "1" for 1, "0" for 0 and -0, "0.5".
std::string ShortestText(double value);

// Writes the file with base::WriteUserFile: a save that fails or dies leaves
// the old file whole, and one that changes nothing writes nothing. A
// Save.Bmp that is read-only stays so: its save fails.
// Throws base::Error naming the file and the system's reason.
void SaveSettings(const Settings& values);

// Reads Save.Bmp; when it can't be opened (also when it is empty or not a
// regular file), writes the defaults first and reads those. Throws
// base::Error("Invalid numeric input") after reading all fields when
// one was not a number; `values` then holds what was read. `filled`, when
// given, turns true once `values` hold what was read or the defaults; it
// stays false when Save.Bmp opened but could not be read (too large, a read
// error), and a save must not then write `values`.
void LoadSettings(Settings& values, bool* filled = nullptr);

}  // namespace settings
