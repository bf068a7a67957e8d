// The program's one sound player, MediaPlayer1: reads and checks the wave
// file itself, so every failure is known before play() returns. The media
// libraries are large and most starts make no sound, so what plays the
// samples (AudioOutput) lives in a module loaded at the first sound; a
// module that can't be loaded is that play()'s error, like any other reason
// the device can't be opened, and comes after the file's own errors as the
// device's errors do.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "sound/audio_output.h"
#include "sound/wave_player.h"

namespace sound {

class AudioWavePlayer : public QObject, public WavePlayer {
public:
    // The module is looked for in moduleFolder when one is given, else
    // beside the program.
    explicit AudioWavePlayer(QObject* parent = nullptr, QString moduleFolder = {});
    ~AudioWavePlayer() override;

    void play(const std::string& windowsPath) override;

    // Whether the module is loaded in this process.
    static bool OutputLoaded();

private:
    QString moduleFolder_;
    std::unique_ptr<AudioOutput> output_;
};

}  // namespace sound
