// A fresh temporary folder made the working folder for the length of a test,
// since the program resolves every file against the working folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

class TempWorkingFolder {
public:
    TempWorkingFolder();
    ~TempWorkingFolder();
    TempWorkingFolder(const TempWorkingFolder&) = delete;
    TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes bytes to a file given relative to the folder, making folders.
    void write(const std::filesystem::path& relative, std::string_view bytes) const;
    std::string read(const std::filesystem::path& relative) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace testing_support
