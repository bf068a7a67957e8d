// The program's one sound player: decodes the wave file itself, so every
// failure is known before play() returns, and plays the samples through one
// audio sink that stays open until the next sound (closing it earlier would
// clip the tail).
#pragma once

#include <QObject>

#include <memory>

#include "sound/wave_player.h"

class QAudioSink;
class QBuffer;

namespace sound {

class AudioWavePlayer : public QObject, public WavePlayer {
public:
    explicit AudioWavePlayer(QObject* parent = nullptr);
    ~AudioWavePlayer() override;

    void play(const std::string& windowsPath) override;

private:
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QBuffer> buffer_;
};

}  // namespace sound
