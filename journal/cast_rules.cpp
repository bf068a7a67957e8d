// What a journal entry must be: its time text and how it reads, the file's
// form of a cast's values, coins and method, and what a cast must agree with.
#include <array>
#include <cstdio>

#include "divination/yarrow.h"
#include "journal/internal.h"
#include "journal/journal.h"

namespace journal {

namespace {

// Days from 1970-01-01 to the date in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const int shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

struct Timestamp {
    int year, month, day, hour, minute, second;
    int offsetMinutes;  // east of UTC
};

std::optional<Timestamp> SplitTimestamp(const std::string& text) {
    // 2026-12-08T21:14:05+03:00
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || (text[19] != '+' && text[19] != '-') ||
        text[22] != ':')
        return std::nullopt;
    bool digits = true;
    auto number = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                digits = false;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    Timestamp t{
        number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2), 0};
    const int offsetHours = number(20, 2), offsetMinutes = number(23, 2);
    t.offsetMinutes = (text[19] == '-' ? -1 : 1) * (offsetHours * 60 + offsetMinutes);
    if (!digits || t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59 ||
        offsetMinutes > 59 || offsetHours * 60 + offsetMinutes > 14 * 60)
        return std::nullopt;
    return t;
}

bool ValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == 0)
            return false;
        int length;
        char32_t code;
        if (byte < 0x80) {
            ++i;
            continue;
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2, code = byte & 0x1F;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3, code = byte & 0x0F;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4, code = byte & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

}  // namespace

// Exactly 18 numbers 0…999, without leading zeros, single spaces between.
std::optional<divination::CoinNumbers> internal::NumbersOfText(const std::string& text) {
    divination::CoinNumbers coins{};
    std::size_t at = 0;
    for (int n = 0; n < 18; ++n) {
        if (n > 0 && (at >= text.size() || text[at++] != ' '))
            return std::nullopt;
        const std::size_t start = at;
        int value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 4)
            value = value * 10 + (text[at++] - '0');
        const std::size_t length = at - start;
        if (length == 0 || length > 3 || (length > 1 && text[start] == '0'))
            return std::nullopt;
        coins[n] = value;
    }
    if (at != text.size())
        return std::nullopt;
    return coins;
}

std::string internal::NumbersText(const divination::CoinNumbers& coins) {
    std::string text;
    for (int number : coins)
        text += (text.empty() ? "" : " ") + std::to_string(number);
    return text;
}

std::string internal::LinesText(const divination::LineValues& values) {
    std::string digits;
    for (int value : values)
        digits += static_cast<char>('0' + value);
    return digits;
}

std::optional<divination::LineValues> internal::ValuesOfText(const std::string& digits) {
    if (digits.size() != 6)
        return std::nullopt;
    divination::LineValues values{};
    for (int i = 0; i < 6; ++i) {
        values[i] = digits[i] - '0';
        if (!divination::IsLineValue(values[i]))
            return std::nullopt;
    }
    return values;
}

// The numbers the file has always held for the ways of casting.
int internal::MethodCode(divination::Method method) {
    switch (method) {
        case divination::Method::Coins:
            return 1;
        case divination::Method::SemiAutomatic:
            return 2;
        case divination::Method::HeadsAndTails:
            return 3;
        case divination::Method::OwnThrow:
            return 4;
        case divination::Method::Yarrow:
            return 5;
        case divination::Method::OwnThrowTotals:
            return 6;
    }
    return 0;
}

int MethodNumber(divination::Method method) {
    return internal::MethodCode(method);
}

std::optional<divination::Method> internal::MethodOfCode(std::int64_t code) {
    for (auto method : {divination::Method::Coins, divination::Method::SemiAutomatic,
                        divination::Method::HeadsAndTails, divination::Method::OwnThrow,
                        divination::Method::Yarrow, divination::Method::OwnThrowTotals}) {
        if (MethodCode(method) == code)
            return method;
    }
    return std::nullopt;
}

std::string internal::TextProblem(const std::string& text, const char* what) {
    if (text.size() > kMaxTextBytes)
        return std::string(what) + " длиннее " + std::to_string(kMaxTextBytes) + " байт";
    if (!ValidUtf8(text))
        return std::string(what) + " не в кодировке UTF-8";
    return {};
}

std::string LocalTimestamp(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    const long offset = local.tm_gmtoff / 60;
    const long absolute = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', absolute / 60, absolute % 60);
    return text;
}

std::optional<std::int64_t> ParseTimestamp(const std::string& castAt) {
    const std::optional<Timestamp> t = SplitTimestamp(castAt);
    if (!t)
        return std::nullopt;
    const std::int64_t local = DaysFromCivil(t->year, t->month, t->day) * 86400 + t->hour * 3600 +
                               t->minute * 60 + t->second;
    return local - t->offsetMinutes * 60;
}

std::string RussianDateTime(const std::string& castAt) {
    static constexpr std::array<const char*, 12> kMonths = {
        "января", "февраля", "марта",    "апреля",  "мая",    "июня",
        "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    const std::optional<Timestamp> t = SplitTimestamp(castAt);
    if (!t)
        return castAt;
    char text[64];
    std::snprintf(text, sizeof text, "%d %s %d, %02d:%02d", t->day, kMonths[t->month - 1], t->year,
                  t->hour, t->minute);
    return text;
}

std::string CastProblem(const NewCast& cast) {
    if (!ParseTimestamp(cast.castAt))
        return "время гадания не в виде 2026-12-08T21:14:05+03:00";
    if (!internal::MethodCode(cast.method))
        return "способ гадания не от 1 до 6";
    for (int value : cast.values) {
        if (!divination::IsLineValue(value))
            return "черты не шесть цифр от 6 до 9";
    }
    if (divination::HasCoins(cast.method)) {
        if (!cast.coins)
            return "у автоматического гадания нет монет";
        for (int number : *cast.coins) {
            if (number < 0 || number > 999)
                return "монеты не восемнадцать чисел от 0 до 999 через пробел";
        }
        const divination::CoinNumbers& coins = *cast.coins;
        for (int line = 0; line < 6; ++line) {
            if (divination::ValueFromCoins(coins[3 * line], coins[3 * line + 1],
                                           coins[3 * line + 2]) != cast.values[line])
                return "монеты не соответствуют чертам";
        }
    } else if (cast.coins) {
        return "монеты записаны не у автоматического гадания";
    }
    if (divination::HasTotals(cast.method)) {
        if (!cast.totals)
            return "у гадания на стеблях нет сумм стеблей";
        if (divination::ValuesFromTotals(*cast.totals) != cast.values)
            return "суммы стеблей не соответствуют чертам";
    } else if (cast.totals) {
        return "суммы стеблей записаны не у гадания на стеблях";
    }
    if (std::string problem = internal::TextProblem(cast.question, "вопрос"); !problem.empty())
        return problem;
    return internal::TextProblem(cast.note, "заметка");
}

}  // namespace journal
