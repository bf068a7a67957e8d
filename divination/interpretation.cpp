// The one reading of a subject: its hexagrams, changing lines and texts.
#include "divination/interpretation.h"

namespace divination {

CoinNumbers FlatCoins(const std::array<std::array<int, 3>, 6>& coins) {
    CoinNumbers numbers{};
    for (int line = 0; line < 6; ++line) {
        for (int coin = 0; coin < 3; ++coin)
            numbers[3 * line + coin] = coins[line][coin];
    }
    return numbers;
}

Interpretation Interpret(const Subject& subject) {
    Interpretation result;
    result.subject = subject;
    for (int value : subject.values)
        result.castCount += value != 0;
    result.hexagram = HexagramOf(subject.values);
    if (!result.hexagram)
        return result;
    result.nuclear = NuclearHexagram(result.hexagram);

    if (subject.kind == Subject::Kind::Table) {
        // Opened from the table, a hexagram is read whole: every line's text,
        // and the text for all lines changing where there is one.
        result.answer = Answer::AllLines;
        result.texts = {1, 2, 3, 4, 5, 6};
        if (result.hexagram <= 2)
            result.texts.push_back(7);
        return result;
    }
    for (int line = 1; line <= 6; ++line) {
        if (IsChanging(subject.values[line - 1]))
            result.changing.push_back(line);
    }
    result.second = RelatingHexagram(subject.values);
    result.answer = result.changing.empty() ? Answer::Reading : Answer::ChangingLines;
    result.texts = result.changing;
    if (result.changing.size() == 6 && result.hexagram <= 2)
        result.texts.push_back(7);
    return result;
}

}  // namespace divination
