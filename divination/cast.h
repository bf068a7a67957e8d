// The three ways of casting a line and the clearing, as ordered steps over a
// narrow view of the main window. Each view call may throw Error; the
// procedures never catch, so a failing step ends the press right there and
// what was done before it stays done.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "divination/changes.h"
#include "divination/lines.h"

namespace divination {

enum class Face { Heads, Tails };

inline constexpr const char* kFanfareWave = ".\\Fanfare.wav";
inline constexpr const char* kRemovalWave = ".\\udalenie.wav";

class CastView {
public:
    virtual ~CastView() = default;

    virtual void hidePrompt() = 0;
    virtual void showPrompt() = 0;
    // Heads shows the eagle and hides the tails picture; tails shows the
    // tails picture, which lies over the eagle.
    virtual void showCoinFace(int coin, Face face) = 0;
    virtual void hideCoins() = 0;
    virtual void appendGlyph(Line value) = 0;
    virtual void clearGlyphs() = 0;
    // Normal mode only: brings the table back when it is hidden (TableState 1).
    virtual void showTableWhenHidden() = 0;
    // Modal; returns when the user has closed it.
    virtual void showNotice() = 0;
    virtual void displayReading(int hexagram) = 0;
    virtual void resetReading() = 0;
    virtual bool soundOn() const = 0;
    virtual void playWave(const std::string& windowsPath) = 0;
    virtual void showColumnMarker(int trigram) = 0;
    virtual void showRowMarker(int trigram) = 0;
    virtual void hideMarkers() = 0;
};

// What a cast changes besides the window: the line cells and the three coin
// cells of the automatic cast (the decimal text of the last numbers drawn);
// and, for what comes after the cast, each recorded line's value 6–9 and,
// in the automatic mode, the three numbers it was cast from.
struct CastState {
    Lines lines;
    std::array<std::string, 3> coinCells;
    LineValues values{};
    std::array<std::array<int, 3>, 6> coins{};
};

// Shows the column marker once lines 1–3 are cast and the row marker once
// lines 4–6 are; hides nothing.
void ShowTrigramMarkers(const Lines& lines, CastView& view);

// Heads or tails in the normal mode.
void CastNormal(CastState& state, Line value, CastView& view);

// Heads or tails in the semi-automatic mode: identifies at the sixth line.
void CastSemiAutomatic(CastState& state, Line value, CastView& view);

// Three coins per line; identifies on every press.
using CoinSource = std::function<int()>;
void CastAutomatic(CastState& state, const CoinSource& drawCoin, CastView& view);

void ClearHexagram(CastState& state, CastView& view);

// "Новая гексаграмма": the removal sound when sound is on, then clearing.
void NewHexagram(CastState& state, CastView& view);

}  // namespace divination
