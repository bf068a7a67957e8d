#include "sound/audio_wave_player.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include "divination/error.h"
#include "sound/wave_file.h"

namespace sound {

AudioWavePlayer::AudioWavePlayer(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("MediaPlayer1"));
}

AudioWavePlayer::~AudioWavePlayer() {
    if (sink_)
        sink_->stop();
}

void AudioWavePlayer::play(const std::string& windowsPath) {
    // The earlier sound, if any, is cut off first, whether or not the new
    // one can be played.
    if (sink_)
        sink_->stop();
    sink_.reset();
    WaveFile wave = LoadWave(windowsPath);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        throw divination::Error("No sound output device is available");

    QAudioFormat format;
    format.setSampleRate(wave.sampleRate);
    format.setChannelCount(wave.channels);
    format.setSampleFormat(wave.floatSamples          ? QAudioFormat::Float
                           : wave.bitsPerSample == 8  ? QAudioFormat::UInt8
                           : wave.bitsPerSample == 16 ? QAudioFormat::Int16
                                                      : QAudioFormat::Int32);
    if (!device.isFormatSupported(format))
        throw divination::Error("The sound device can't play the format of the file \"" +
                                windowsPath + "\"");

    buffer_ = std::make_unique<QBuffer>();
    buffer_->setData(QByteArray(wave.samples.data(), static_cast<qsizetype>(wave.samples.size())));
    buffer_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(buffer_.get());
}

}  // namespace sound
