// Preferences.txt: read once, written whole at each change.
#include "settings/preferences.h"

#include <cerrno>

#include "base/error.h"
#include "base/text_file.h"
#include "base/user_file.h"

namespace settings {

namespace {

// A few preferences take a few hundred bytes; more is not this file.
constexpr size_t kMaxPreferencesBytes = 64 * 1024;

bool IsKey(const std::string& key) {
    if (key.empty())
        return false;
    for (char c : key) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

}  // namespace

Preferences Preferences::Load() {
    Preferences preferences;
    int openError = 0;
    const std::optional<std::string> bytes =
        base::TryReadFile(kPreferencesFile, kMaxPreferencesBytes, openError);
    if (!bytes) {
        if (openError == ENOENT)
            return preferences;
        throw base::FileOpenError(kPreferencesFile, openError);
    }
    const std::string text = base::UniformLineBreaks(*bytes);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find('=');
        if (equals != std::string::npos && IsKey(line.substr(0, equals)))
            preferences.values_[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return preferences;
}

std::string Preferences::get(const std::string& key, const std::string& otherwise) const {
    const auto found = values_.find(key);
    return found != values_.end() ? found->second : otherwise;
}

void Preferences::set(const std::string& key, const std::string& value) {
    if (!IsKey(key) || value.find_first_of("\r\n") != std::string::npos)
        throw base::Error("Настройка «" + key + "» не записана: в ней перевод строки");
    if (get(key) == value && values_.count(key))
        return;
    values_[key] = value;
    std::string bytes;
    for (const auto& [name, text] : values_)
        bytes += name + "=" + text + "\n";
    base::WriteUserFile(kPreferencesFile, bytes);
}

}  // namespace settings
