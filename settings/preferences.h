// The preferences that are not the settings file's: how to read changing
// lines, the folder journals are kept in step through. One line "key=value"
// each in Preferences.txt beside Save.Bmp, UTF-8, whose format is free to grow.
#pragma once

#include <map>
#include <string>

namespace settings {

inline constexpr const char* kPreferencesFile = ".\\Preferences.txt";

class Preferences {
public:
    // What the file holds; nothing when it is missing. A line that is no
    // "key=value" is passed over (the file is the user's to edit). Throws
    // base::Error naming the file when it exists and can't be read.
    static Preferences Load();

    std::string get(const std::string& key, const std::string& otherwise = {}) const;

    // Keeps the value and writes the whole file at once, beside and renamed
    // over; throws base::Error naming the file when it can't be written,
    // keeping the value for this run. A key is letters and digits; a value
    // has no line break (one is refused).
    void set(const std::string& key, const std::string& value);

private:
    std::map<std::string, std::string> values_;
};

}  // namespace settings
