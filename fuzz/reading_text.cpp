// The readings are Windows-1251 bytes of any kind: every byte must decode to
// exactly one character and encode back to itself, and the line breaks must
// come out as "\n" only, one for each CR LF, lone CR or lone LF.
#include <algorithm>
#include <cstdint>
#include <string>

#include "base/text_file.h"
#include "fuzz/check.h"

namespace {

// The number of characters in well-formed UTF-8, or -1.
long CountUtf8(const std::string& text) {
    long characters = 0;
    for (size_t i = 0; i < text.size(); ++characters) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
        if (length == 0 || i + length > text.size())
            return -1;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return -1;
        }
        i += length;
    }
    return characters;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = base::DecodeCp1251(bytes);
    FUZZ_CHECK(CountUtf8(text) == static_cast<long>(bytes.size()));
    FUZZ_CHECK(base::EncodeCp1251(text) == bytes);

    size_t breaks = 0, pairs = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || bytes[i] == '\r') {
            ++breaks;
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++pairs;
                ++i;
            }
        }
    }
    const std::string uniform = base::UniformLineBreaks(text);
    FUZZ_CHECK(uniform.find('\r') == std::string::npos);
    FUZZ_CHECK(static_cast<size_t>(std::count(uniform.begin(), uniform.end(), '\n')) == breaks);
    FUZZ_CHECK(uniform.size() == text.size() - pairs);
    return 0;
}
