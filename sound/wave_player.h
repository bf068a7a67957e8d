// Plays a wave file asynchronously, replacing any sound still playing.
// play() throws base::Error when the device can't be opened for the
// file (missing, not a PCM wave file, no sound output).
#pragma once

#include <string>

namespace sound {

class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    virtual void play(const std::string& windowsPath) = 0;
};

}  // namespace sound
