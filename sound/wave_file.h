// Reading a RIFF/WAVE file with PCM samples, without any toolkit, so the
// player can tell synchronously whether a file can be played at all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sound {

struct WaveFile {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    bool floatSamples = false;  // 32-bit IEEE float rather than integers
    std::string samples;        // the data chunk, as stored
};

// Throws divination::Error naming the file when the bytes are not a PCM
// wave file (no RIFF/WAVE header, no "fmt " chunk of integer PCM — 8, 16 or
// 32 bits — or 32-bit float, plain or extensible, no "data" chunk).
WaveFile ParseWave(std::string_view bytes, const std::string& windowsPath);

// Reads and parses the file; throws the file-open error when it can't be read.
WaveFile LoadWave(const std::string& windowsPath);

}  // namespace sound
