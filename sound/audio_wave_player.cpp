// The wave player: checks a file can be played, then hands it to the sound module.
#include "sound/audio_wave_player.h"

#include <dlfcn.h>

#include <QCoreApplication>

#include "base/error.h"

namespace sound {

namespace {

constexpr const char* kModule = "libtaynovid_audio.so";
bool moduleLoaded = false;

base::Error NotLoaded(const std::string& reason) {
    return base::Error("The sound system can't be loaded: " + reason);
}

// Beside the program, in the build's run folder as where it is installed.
// Never unloaded: the media libraries keep state of their own for the rest
// of the run.
AudioOutput* CreateOutput(const QString& moduleFolder) {
    const QString folder =
        moduleFolder.isEmpty() ? QCoreApplication::applicationDirPath() : moduleFolder;
    const QString path = folder + QLatin1Char('/') + QLatin1String(kModule);
    void* module = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        throw NotLoaded(dlerror());
    moduleLoaded = true;
    using Create = AudioOutput* (*)();
    const auto create = reinterpret_cast<Create>(dlsym(module, "TaynovidCreateAudioOutput"));
    if (!create)
        throw NotLoaded(kModule);
    return create();
}

}  // namespace

AudioWavePlayer::AudioWavePlayer(QObject* parent, QString moduleFolder)
    : QObject(parent), moduleFolder_(std::move(moduleFolder)) {
    setObjectName(QStringLiteral("MediaPlayer1"));
}

AudioWavePlayer::~AudioWavePlayer() = default;

void AudioWavePlayer::play(const std::string& windowsPath) {
    // The earlier sound, if any, is cut off first, whether or not the new
    // one can be played.
    if (output_)
        output_->stop();
    const WaveFile wave = LoadWave(windowsPath);
    if (!output_)
        output_.reset(CreateOutput(moduleFolder_));
    output_->play(wave, windowsPath);
}

bool AudioWavePlayer::OutputLoaded() {
    return moduleLoaded;
}

}  // namespace sound
