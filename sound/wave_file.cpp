// Reading a wave file's header and its PCM data.
#include "sound/wave_file.h"

#include <algorithm>

#include "base/error.h"
#include "base/text_file.h"

namespace sound {

namespace {

std::uint32_t Le32(std::string_view b, size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

constexpr int kIntegerPcm = 1;
constexpr int kFloatPcm = 3;
constexpr int kExtensible = 0xFFFE;

std::uint16_t Le16(std::string_view b, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

// Sound devices take 8, 16 and 32-bit samples but not packed 24-bit ones:
// each sample becomes the top three bytes of a 32-bit one. A last frame
// cut short is dropped.
void WidenTo32Bits(WaveFile& wave) {
    const size_t frame = 3 * static_cast<size_t>(wave.channels);
    const size_t samples = wave.samples.size() / frame * wave.channels;
    std::string widened(samples * 4, '\0');
    for (size_t i = 0; i < samples; ++i)
        std::copy_n(wave.samples.data() + 3 * i, 3, widened.data() + 4 * i + 1);
    wave.samples = std::move(widened);
    wave.bitsPerSample = 32;
}

}  // namespace

WaveFile ParseWave(std::string_view bytes, const std::string& windowsPath) {
    auto invalid = [&] {
        return base::Error("The file \"" + base::AbsolutePathText(windowsPath) +
                           "\" is not a PCM wave file");
    };
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        throw invalid();
    WaveFile wave;
    bool haveFormat = false, haveData = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const size_t size = Le32(bytes, at + 4);
        const size_t body = at + 8;
        const size_t available = bytes.size() - body;
        if (id == "fmt ") {
            if (size < 16 || size > available)
                throw invalid();
            // The extensible header names the real format in its sub-format.
            int tag = Le16(bytes, body);
            if (tag == kExtensible && size >= 40)
                tag = Le16(bytes, body + 24);
            if (tag != kIntegerPcm && tag != kFloatPcm)
                throw invalid();
            wave.channels = Le16(bytes, body + 2);
            wave.sampleRate = static_cast<int>(Le32(bytes, body + 4));
            wave.bitsPerSample = Le16(bytes, body + 14);
            wave.floatSamples = tag == kFloatPcm;
            haveFormat = true;
        } else if (id == "data") {
            // A data chunk that claims more than the file holds is cut to the file.
            wave.samples.assign(bytes.substr(body, std::min(size, available)));
            haveData = true;
        }
        if (size > available)
            break;
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData || wave.channels < 1 || wave.sampleRate <= 0)
        throw invalid();
    const bool supportedBits = wave.floatSamples
                                   ? wave.bitsPerSample == 32
                                   : wave.bitsPerSample == 8 || wave.bitsPerSample == 16 ||
                                         wave.bitsPerSample == 24 || wave.bitsPerSample == 32;
    if (!supportedBits)
        throw base::Error("The file \"" + base::AbsolutePathText(windowsPath) + "\" holds " +
                          std::to_string(wave.bitsPerSample) + "-bit " +
                          (wave.floatSamples ? "floating-point" : "integer") +
                          " samples, which can't be played");
    if (wave.bitsPerSample == 24)
        WidenTo32Bits(wave);
    return wave;
}

WaveFile LoadWave(const std::string& windowsPath) {
    return ParseWave(base::ReadFile(windowsPath, kMaxWaveBytes), windowsPath);
}

}  // namespace sound
