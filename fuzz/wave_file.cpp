// A wave file is checked before it is played: any bytes must either be
// refused with the program's error or give a format the sound device can be
// asked about, with samples that lie inside the file.
#include <cstdint>
#include <string>

#include "base/error.h"
#include "fuzz/check.h"
#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const sound::WaveFile wave = sound::ParseWave(bytes, ".\\Fanfare.wav");
        FUZZ_CHECK(wave.channels >= 1 && wave.channels <= 0xFFFF);
        FUZZ_CHECK(wave.sampleRate > 0);
        FUZZ_CHECK(wave.bitsPerSample >= 8 && wave.bitsPerSample <= 32 &&
                   wave.bitsPerSample % 8 == 0);
        FUZZ_CHECK(!wave.floatSamples || wave.bitsPerSample == 32);
        FUZZ_CHECK(wave.samples.size() + 20 <= bytes.size());
        FUZZ_CHECK(bytes.find(wave.samples) != std::string_view::npos);
    } catch (const base::Error& error) {
        FUZZ_CHECK(std::string(error.what()).find("Fanfare.wav") != std::string::npos);
    }
    return 0;
}
