// The cast procedures: each press as its ordered steps over the window.
#include "divination/cast.h"

#include "divination/coins.h"
#include "divination/hexagrams.h"

namespace divination {

namespace {

Face FaceOf(Line value) {
    return value == Line::Solid ? Face::Heads : Face::Tails;
}

void ShowFaceOnAllCoins(Face face, CastView& view) {
    for (int coin = 0; coin < 3; ++coin)
        view.showCoinFace(coin, face);
}

// Records the line in its cell and, beside it, its value.
void Record(CastState& state, Line line, int value) {
    if (RecordLine(state.lines, line))
        state.values[state.lines.castCount() - 1] = value;
}

// The notice instead of a glyph once the hexagram is complete.
void NoticeOrGlyph(const Lines& lines, Line value, CastView& view) {
    if (lines.complete())
        view.showNotice();
    else
        view.appendGlyph(value);
}

}  // namespace

void ShowTrigramMarkers(const Lines& lines, CastView& view) {
    if (const int column = FirstTrigram(lines))
        view.showColumnMarker(column);
    if (const int row = SecondTrigram(lines))
        view.showRowMarker(row);
}

void CastNormal(CastState& state, Line value, CastView& view) {
    view.hidePrompt();
    ShowFaceOnAllCoins(FaceOf(value), view);
    view.showTableWhenHidden();
    NoticeOrGlyph(state.lines, value, view);
    Record(state, value, ValueOfLine(value));
    ShowTrigramMarkers(state.lines, view);
    if (view.soundOn() && state.lines[6] == value)
        view.playWave(kFanfareWave);
}

void CastSemiAutomatic(CastState& state, Line value, CastView& view) {
    view.hidePrompt();
    ShowFaceOnAllCoins(FaceOf(value), view);
    NoticeOrGlyph(state.lines, value, view);
    Record(state, value, ValueOfLine(value));
    const Lines& lines = state.lines;
    if (lines[6] == value) {
        if (const int n = IdentifyHexagram(lines))
            view.displayReading(n);
        if (view.soundOn())
            view.playWave(kFanfareWave);
    }
    // The fanfare comes before the markers here; each marker is shown by the
    // press whose value completes its trigram.
    if (const int column = FirstTrigram(lines); column && lines[3] == value)
        view.showColumnMarker(column);
    if (const int row = SecondTrigram(lines); row && lines[6] == value)
        view.showRowMarker(row);
}

void CastAutomatic(CastState& state, const CoinSource& drawCoin, CastView& view) {
    view.hidePrompt();
    for (std::string& cell : state.coinCells)
        cell = std::to_string(drawCoin());
    std::array<int, 3> numbers{};
    for (int coin = 0; coin < 3; ++coin) {
        numbers[coin] = std::stoi(state.coinCells[coin]);
        view.showCoinFace(coin, IsHeads(numbers[coin]) ? Face::Heads : Face::Tails);
    }
    const Line value = LineFromCoins(numbers[0], numbers[1], numbers[2]);
    NoticeOrGlyph(state.lines, value, view);
    const int castBefore = state.lines.castCount();
    Record(state, value, ValueFromCoins(numbers[0], numbers[1], numbers[2]));
    if (state.lines.castCount() > castBefore)
        state.coins[castBefore] = numbers;
    if (const int n = IdentifyHexagram(state.lines))
        view.displayReading(n);
    if (view.soundOn() && state.lines.complete())
        view.playWave(kFanfareWave);
    ShowTrigramMarkers(state.lines, view);
}

void ClearHexagram(CastState& state, CastView& view) {
    view.showPrompt();
    view.hideCoins();
    view.clearGlyphs();
    view.resetReading();
    state.lines = Lines{};
    state.values = {};
    state.coins = {};
    view.hideMarkers();
}

void NewHexagram(CastState& state, CastView& view) {
    if (view.soundOn())
        view.playWave(kRemovalWave);
    ClearHexagram(state, view);
}

}  // namespace divination
