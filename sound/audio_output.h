// What makes the sound, in a module of its own (the only code that needs Qt
// Multimedia): the program loads it at the first sound rather than at start,
// so a start-up never pays for the media libraries.
#pragma once

#include <string>

#include "sound/wave_file.h"

namespace sound {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Cuts off the sound still playing, if any.
    virtual void stop() = 0;
    // Plays the samples through the default output; throws base::Error
    // when there is none or it can't play the file's format.
    virtual void play(const WaveFile& wave, const std::string& windowsPath) = 0;
};

}  // namespace sound

// The module's one entry point, found by name when it is loaded.
extern "C" sound::AudioOutput* TaynovidCreateAudioOutput();
