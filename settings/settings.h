// The eleven preferences kept in Save.Bmp. They are all zero, and the font
// name empty, until the settings are loaded.
#pragma once

#include <cstdint>
#include <string>

namespace settings {

// The codes the file keeps. The variables stay doubles, as the file has
// them, so every file reads and writes back byte for byte; the window
// compares them with these whole numbers exactly.
inline constexpr int kAutomaticMode = 1;
inline constexpr int kSemiAutomaticMode = 2;
inline constexpr int kNormalMode = 3;
inline constexpr int kTableHidden = 1;
inline constexpr int kTableShown = 2;
inline constexpr int kFullView = 1;
inline constexpr int kReducedView = 2;
inline constexpr int kSoundOn = 0;
inline constexpr int kSoundOff = 1;
inline constexpr int kButtonsRaised = 0;
inline constexpr int kButtonsFlat = 1;

struct Settings {
    double SoundOff = 0;       // 0 sound on, 1 off
    double CastMode = 0;       // 1 automatic, 2 semi-automatic, 3 normal
    double ButtonsFlat = 0;    // 1 flat table buttons, 0 raised
    double TableState = 0;     // 2 table shown, 1 hidden
    double ReservedValue = 0;  // kept and written back unchanged
    double ViewMode = 0;       // 1 full view, 2 reduced
    std::int32_t FontSize = 0;
    std::int32_t TextColor = 0;  // packed RGB, red in the lowest byte
    std::int32_t AreaColor = 0;
    std::int32_t FontStyleCode = 0;  // 0 regular, 1 bold, 2 italic, 3 both
    std::string FontName;            // UTF-8 here, Windows-1251 in the file
};

}  // namespace settings
