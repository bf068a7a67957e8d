// The errors a handler raises, and how a file's failure is worded.
#include "base/error.h"

#include <cerrno>
#include <cstring>

#include "base/text_file.h"

namespace base {

namespace {

// nullptr for a number the program has no words of its own for.
const char* RussianReason(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return "Нет доступа";
        case ENOENT:
            return "Нет такого файла или папки";
        case ENOTDIR:
            return "Часть пути не является папкой";
        case EISDIR:
            return "Это папка";
        case EROFS:
            return "Диск доступен только для чтения";
        case ENOSPC:
            return "Нет места на диске";
        case EDQUOT:
            return "Исчерпана квота на диске";
        case EFBIG:
            return "Файл слишком велик";
        case EIO:
            return "Ошибка ввода-вывода";
        case ENAMETOOLONG:
            return "Слишком длинное имя файла";
        case ELOOP:
            return "Слишком много символических ссылок";
        case EMFILE:
        case ENFILE:
            return "Открыто слишком много файлов";
        default:
            return nullptr;
    }
}

}  // namespace

std::string SystemReason(int errorNumber, Language language) {
    if (language == Language::Russian) {
        if (const char* reason = RussianReason(errorNumber))
            return reason;
    }
    std::string reason = std::strerror(errorNumber);
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

Error FileError(const std::string& what, const std::string& windowsPath, int errorNumber) {
    return FileError(what, windowsPath, SystemReason(errorNumber));
}

Error FileError(const std::string& what, const std::string& windowsPath,
                const std::string& reason) {
    return Error(what + " \"" + AbsolutePathText(windowsPath) + "\". " + reason);
}

Error FileOpenError(const std::string& windowsPath, int errorNumber) {
    if (errorNumber == 0)
        return FileError("Cannot open file", windowsPath, "Not a regular file");
    return FileError("Cannot open file", windowsPath, errorNumber);
}

}  // namespace base
