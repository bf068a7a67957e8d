// Reading a user's file: Windows paths, a non-blocking open of regular files only, size caps,
// Windows-1251.
#include "base/text_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/error.h"

namespace base {

std::filesystem::path NativePath(std::string_view windowsPath) {
    std::string native(windowsPath);
    for (char& c : native) {
        if (c == '\\')
            c = '/';
    }
    return std::filesystem::path(native).lexically_normal();
}

std::string AbsolutePathText(std::string_view windowsPath) {
    std::error_code ignored;
    return std::filesystem::absolute(NativePath(windowsPath), ignored).string();
}

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw Error(std::string("No converter from ") + from + " to " + to);
    return IconvHandle(cd);
}

// Converts as far as iconv goes; returns the number of input bytes left
// unconverted (0 when all went through).
size_t ConvertRun(iconv_t cd, const char*& in, size_t& inLeft, std::string& out) {
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG)
            return inLeft;
    }
    return 0;
}

}  // namespace

namespace {

// The UTF-8 of one Windows-1251 byte: at most three bytes ("€", "№").
struct Utf8Character {
    char bytes[3] = {};
    unsigned char length = 0;
};

// Every byte's UTF-8, asked of iconv once: decoding a reading of a megabyte
// is then a table look-up per byte instead of a conversion call.
const std::array<Utf8Character, 256>& DecodingTable() {
    static const std::array<Utf8Character, 256> table = [] {
        std::array<Utf8Character, 256> decoded{};
        IconvHandle cd = OpenIconv("UTF-8", "CP1251");
        for (int byte = 0; byte < 256; ++byte) {
            char in = static_cast<char>(byte);
            char* inPtr = &in;
            size_t inLeft = 1;
            Utf8Character& out = decoded[byte];
            char* outPtr = out.bytes;
            size_t outLeft = sizeof out.bytes;
            if (iconv(static_cast<iconv_t>(cd.get()), &inPtr, &inLeft, &outPtr, &outLeft) ==
                static_cast<size_t>(-1)) {
                // The one byte iconv refuses is 0x98; it stands for U+0098.
                std::memcpy(out.bytes, "\xC2\x98", 2);
                outPtr = out.bytes + 2;
            }
            out.length = static_cast<unsigned char>(outPtr - out.bytes);
        }
        return decoded;
    }();
    return table;
}

}  // namespace

std::string DecodeCp1251(std::string_view bytes) {
    const std::array<Utf8Character, 256>& table = DecodingTable();
    std::string out(bytes.size() * sizeof(Utf8Character::bytes), '\0');
    char* next = out.data();
    for (const char byte : bytes) {
        const Utf8Character& character = table[static_cast<unsigned char>(byte)];
        std::memcpy(next, character.bytes, sizeof character.bytes);
        next += character.length;
    }
    out.resize(static_cast<size_t>(next - out.data()));
    return out;
}

std::string EncodeCp1251(std::string_view utf8) {
    IconvHandle cd = OpenIconv("CP1251", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    size_t inLeft = utf8.size();
    while (ConvertRun(static_cast<iconv_t>(cd.get()), in, inLeft, out) > 0) {
        if (static_cast<unsigned char>(in[0]) == 0xC2 && inLeft >= 2 &&
            static_cast<unsigned char>(in[1]) == 0x98) {
            out += '\x98';
            in += 2;
            inLeft -= 2;
            continue;
        }
        size_t length = 1;
        while (length < inLeft && (static_cast<unsigned char>(in[length]) & 0xC0) == 0x80)
            ++length;
        throw Error("The character \"" + std::string(in, length) +
                    "\" has no place in the Windows-1251 code page");
    }
    return out;
}

std::string UniformLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t cr; (cr = text.find('\r', from)) != std::string_view::npos;) {
        out.append(text, from, cr - from);
        out += '\n';
        from = cr + 1;
        if (from < text.size() && text[from] == '\n')
            ++from;
    }
    out.append(text, from);
    return out;
}

namespace {

Error TooLargeError(const std::string& failure, const std::string& path, size_t maxBytes) {
    return FileError(failure, path,
                     "File too large: more than " + std::to_string(maxBytes) + " bytes");
}

}  // namespace

RegularFile ReadRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    RegularFile file;
    auto fail = [&](ReadFailure failure, int errorNumber) {
        file.failure = failure;
        file.errorNumber = errorNumber;
        file.bytes.clear();
        return std::move(file);
    };
    // Without O_NONBLOCK a FIFO would wait here for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(ReadFailure::CannotOpen, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return fail(ReadFailure::NotRegular, S_ISDIR(status.st_mode) ? EISDIR : 0);
    file.sizeAtOpen = static_cast<std::uintmax_t>(status.st_size);
    if (file.sizeAtOpen > maxBytes)
        return fail(ReadFailure::TooLarge, 0);
    // Read straight into the string up to the size the file had, then on in
    // small steps: the file may grow while it is read.
    file.bytes.resize(static_cast<size_t>(file.sizeAtOpen));
    size_t done = 0;
    char buffer[65536];
    for (;;) {
        const bool inPlace = done < file.bytes.size();
        const ssize_t n = inPlace ? ::read(fd, file.bytes.data() + done, file.bytes.size() - done)
                                  : ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(ReadFailure::CannotRead, errno);
        }
        if (!inPlace) {
            if (done + static_cast<size_t>(n) > maxBytes)
                return fail(ReadFailure::TooLarge, 0);
            file.bytes.append(buffer, static_cast<size_t>(n));
        }
        done += static_cast<size_t>(n);
    }
    file.bytes.resize(done);
    return file;
}

std::optional<std::string> TryReadFile(std::string_view windowsPath, size_t maxBytes,
                                       int& openError, const std::string& failure) {
    const std::string path(windowsPath);
    RegularFile file = ReadRegularFile(NativePath(windowsPath), maxBytes);
    switch (file.failure) {
        case ReadFailure::None:
            return std::move(file.bytes);
        case ReadFailure::CannotOpen:
        case ReadFailure::NotRegular:
            openError = file.errorNumber;
            return std::nullopt;
        case ReadFailure::TooLarge:
            throw TooLargeError(failure, path, maxBytes);
        case ReadFailure::CannotRead:
            break;
    }
    throw FileError(failure, path, file.errorNumber);
}

std::string ReadFile(std::string_view windowsPath, size_t maxBytes) {
    int openError = 0;
    std::optional<std::string> bytes =
        TryReadFile(windowsPath, maxBytes, openError, "Cannot open file");
    if (!bytes)
        throw FileOpenError(std::string(windowsPath), openError);
    return std::move(*bytes);
}

std::string LoadText(std::string_view windowsPath) {
    return UniformLineBreaks(DecodeCp1251(ReadFile(windowsPath, kMaxReadingBytes)));
}

}  // namespace base
