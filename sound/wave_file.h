// Reading a RIFF/WAVE file with PCM samples, without any toolkit, so the
// player can tell synchronously whether a file can be played at all.
#pragma once

#include <string>
#include <string_view>

namespace sound {

struct WaveFile {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;      // 8, 16 or 32: 24-bit samples come widened
    bool floatSamples = false;  // 32-bit IEEE float rather than integers
    std::string samples;        // the data chunk, as stored but for the widening
};

// A sound file is at most a few seconds; far past this it is no sound file.
inline constexpr size_t kMaxWaveBytes = 64 * 1024 * 1024;

// Throws base::Error naming the file when the bytes are not a PCM
// wave file (no RIFF/WAVE header, no "fmt " chunk of integer PCM or float,
// plain or extensible, no "data" chunk), or when its sample size is none of
// 8, 16, 24 or 32 bits (32 only for float); the text then names the size.
WaveFile ParseWave(std::string_view bytes, const std::string& windowsPath);

// Reads and parses the file; throws the file-open error when it can't be
// read, is not a regular file or is larger than kMaxWaveBytes.
WaveFile LoadWave(const std::string& windowsPath);

}  // namespace sound
