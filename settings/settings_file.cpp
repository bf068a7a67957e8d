// Save.Bmp: its one line written and read, the defaults.
#include "settings/settings_file.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "base/error.h"
#include "base/text_file.h"
#include "base/user_file.h"

namespace settings {

using base::Error;

Settings Defaults(const Settings& current) {
    Settings values;
    values.SoundOff = kSoundOn;
    values.CastMode = kNormalMode;
    values.ButtonsFlat = kButtonsFlat;
    values.TableState = kTableShown;
    values.ReservedValue = 11;
    values.ViewMode = kFullView;
    values.FontSize = 11;
    values.TextColor = 0;
    values.AreaColor = 12632256;
    values.FontStyleCode = current.FontStyleCode;
    values.FontName = "Times New Roman";
    return values;
}

std::string FormatReal(double value) {
    // 14 digits after the point give the 15 significant digits; the exponent
    // is then widened to four digits. Not printf: under a Russian locale its
    // decimal point is a comma, which no load reads back.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 14);
    std::string digits(buffer, written.ptr);
    for (char& c : digits)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t e = digits.find('E');
    if (e == std::string::npos)  // not a finite number
        return (value < 0 ? "-" : " ") + digits;
    // Rounded to 15 digits, the largest doubles read back as beyond the
    // largest double; the digit below reads back as itself.
    double readBack = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), readBack).ec ==
        std::errc::result_out_of_range)
        --digits[e - 1];
    const int exponent = std::atoi(digits.c_str() + e + 1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return (value < 0 ? "-" : " ") + digits.substr(0, e) + tail;
}

std::string FormatSettings(const Settings& v) {
    std::string line;
    for (double real :
         {v.SoundOff, v.CastMode, v.ButtonsFlat, v.TableState, v.ReservedValue, v.ViewMode})
        line += FormatReal(real) + ' ';
    for (std::int32_t integer : {v.FontSize, v.TextColor, v.AreaColor, v.FontStyleCode})
        line += std::to_string(integer) + ' ';
    return line + base::EncodeCp1251(v.FontName) + "\r\n";
}

namespace {

// A real as the file may write it: optional sign, digits with an optional
// fraction, an optional exponent with optional sign.
bool ParseReal(std::string_view token, double& out) {
    std::string_view body = token;
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    if (body.empty() || body[0] == '+' || body[0] == '-' ||
        !(std::isdigit(static_cast<unsigned char>(body[0])) || body[0] == '.'))
        return false;
    double value = 0;
    const auto [end, error] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (error != std::errc() || end != body.data() + body.size())
        return false;
    out = negative ? -value : value;
    return true;
}

bool ParseInteger(std::string_view token, std::int32_t& out) {
    // One optional sign, then digits only.
    std::string_view body = token;
    const size_t firstDigit = !body.empty() && (body[0] == '+' || body[0] == '-') ? 1 : 0;
    if (body.size() <= firstDigit || !std::isdigit(static_cast<unsigned char>(body[firstDigit])))
        return false;
    if (body[0] == '+')
        body.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (error != std::errc() || end != body.data() + body.size())
        return false;
    out = value;
    return true;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\x1A'))) {}

    // The next run of characters above code 32; empty at the end.
    std::string_view token(size_t limit, bool& tooLong) {
        while (at_ < bytes_.size() && static_cast<unsigned char>(bytes_[at_]) <= 32)
            ++at_;
        const size_t start = at_;
        while (at_ < bytes_.size() && static_cast<unsigned char>(bytes_[at_]) > 32)
            ++at_;
        tooLong = at_ - start > limit;
        return bytes_.substr(start, at_ - start);
    }

    std::string_view restOfLine() {
        const size_t end = bytes_.find_first_of("\r\n", at_);
        const std::string_view rest =
            bytes_.substr(at_, end == std::string_view::npos ? end : end - at_);
        at_ += rest.size();
        return rest;
    }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

}  // namespace

ParsedSettings ParseSettings(std::string_view bytes) {
    ParsedSettings parsed;
    Settings& v = parsed.values;
    Reader reader(bytes);
    bool tooLong = false;
    for (double* real :
         {&v.SoundOff, &v.CastMode, &v.ButtonsFlat, &v.TableState, &v.ReservedValue, &v.ViewMode}) {
        const std::string_view token = reader.token(64, tooLong);
        *real = 0;
        if (!token.empty() && (tooLong || !ParseReal(token, *real))) {
            *real = 0;
            parsed.invalidNumber = true;
        }
    }
    for (std::int32_t* integer : {&v.FontSize, &v.TextColor, &v.AreaColor, &v.FontStyleCode}) {
        const std::string_view token = reader.token(32, tooLong);
        *integer = 0;
        if (!token.empty() && (tooLong || !ParseInteger(token, *integer))) {
            *integer = 0;
            parsed.invalidNumber = true;
        }
    }
    // Blanks are stripped here rather than after the commands the load runs,
    // so the saves those commands make already write the name as it is.
    std::string_view name = reader.restOfLine();
    while (!name.empty() && name.front() == ' ')
        name.remove_prefix(1);
    v.FontName = base::DecodeCp1251(name);
    return parsed;
}

std::string ShortestText(double value) {
    // -0 is zero: the toggles that read this text take only "0" for zero.
    if (value == 0)
        return "0";
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

void SaveSettings(const Settings& values) {
    base::WriteUserFile(kSettingsFile, FormatSettings(values));
}

namespace {

// The whole file, or nullopt when it can't be opened: missing, no access,
// not a regular file, or empty — an empty file holds nothing a user wrote
// (a save cut off by a crash, in an older version, left such files).
std::optional<std::string> ReadSettingsFile(int& openError) {
    std::optional<std::string> bytes =
        base::TryReadFile(kSettingsFile, kMaxSettingsBytes, openError);
    if (bytes && bytes->empty()) {
        openError = 0;
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

void LoadSettings(Settings& values, bool* filled) {
    int openError = 0;
    std::optional<std::string> bytes = ReadSettingsFile(openError);
    if (!bytes) {
        values = Defaults(values);
        if (filled)
            *filled = true;
        SaveSettings(values);
        // A file just written that still can't be read is an error, not a loop.
        bytes = ReadSettingsFile(openError);
        if (!bytes)
            throw base::FileOpenError(kSettingsFile, openError);
    }
    const ParsedSettings parsed = ParseSettings(*bytes);
    values = parsed.values;
    if (filled)
        *filled = true;
    if (parsed.invalidNumber)
        throw Error("Invalid numeric input");
}

}  // namespace settings
