// The sound module: wave files played through Qt Multimedia.
#include "sound/audio_output.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <memory>

#include "base/error.h"

namespace sound {

namespace {

// Plays through one audio sink that stays open until the next sound:
// closing it earlier would clip the tail.
class SinkOutput : public AudioOutput {
public:
    ~SinkOutput() override { stop(); }

    void stop() override {
        if (sink_)
            sink_->stop();
        sink_.reset();
    }

    void play(const WaveFile& wave, const std::string& windowsPath) override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            throw base::Error("No sound output device is available");

        QAudioFormat format;
        format.setSampleRate(wave.sampleRate);
        format.setChannelCount(wave.channels);
        format.setSampleFormat(wave.floatSamples          ? QAudioFormat::Float
                               : wave.bitsPerSample == 8  ? QAudioFormat::UInt8
                               : wave.bitsPerSample == 16 ? QAudioFormat::Int16
                                                          : QAudioFormat::Int32);
        if (!device.isFormatSupported(format))
            throw base::Error("The sound device can't play the format of the file \"" +
                              windowsPath + "\"");

        buffer_ = std::make_unique<QBuffer>();
        buffer_->setData(
            QByteArray(wave.samples.data(), static_cast<qsizetype>(wave.samples.size())));
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(buffer_.get());
    }

private:
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QBuffer> buffer_;
};

}  // namespace

}  // namespace sound

sound::AudioOutput* TaynovidCreateAudioOutput() {
    return new sound::SinkOutput();
}
