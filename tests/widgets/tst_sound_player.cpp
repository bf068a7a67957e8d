// The real sound player: the media libraries stay out of a start-up and are
// loaded at the first sound, after the file's own checks, so each failure
// still comes from the press that plays.
#include <dlfcn.h>

#include <QTest>

#include "base/error.h"
#include "harness.h"
#include "sound/audio_wave_player.h"

using namespace testing_support;

namespace {

bool MediaLibraryLoaded() {
    return dlopen("libQt6Multimedia.so.6", RTLD_NOLOAD | RTLD_LAZY) != nullptr;
}

// A second of 8-bit silence, mono, 8000 samples a second.
QByteArray SilentWave() {
    QByteArray samples(8000, '\x80');
    auto le32 = [](quint32 v) {
        return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24);
    };
    const QByteArray format = QByteArray::fromHex("01000100401f0000401f000001000800");
    return "RIFF" + le32(4 + 8 + format.size() + 8 + samples.size()) + "WAVE" + "fmt " +
           le32(format.size()) + format + "data" + le32(samples.size()) + samples;
}

QString PlayError(sound::AudioWavePlayer& player, const std::string& path) {
    try {
        player.play(path);
    } catch (const base::Error& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

}  // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT

private slots:
    // Runs first: nothing before it in this process has played a sound.
    void startingTheWindowLoadsNoMediaLibrary() {
        WorkingFolder folder;
        QStringList errors;
        TForm1::Seams seams;
        seams.reportError = [&](const QString& text) { errors << text; };
        TForm1 form(seams);
        QVERIFY(form.findChild<QObject*>("MediaPlayer1"));
        QCOMPARE(errors, QStringList());
        QVERIFY(!sound::AudioWavePlayer::OutputLoaded());
        QVERIFY(!MediaLibraryLoaded());
    }

    void fileErrorsComeBeforeTheModuleIsLoaded() {
        WorkingFolder folder;
        folder.write("Bad.wav", "RIFF....not a wave file");
        sound::AudioWavePlayer player(nullptr, QStringLiteral(TAYNOVID_RUN_DIR));
        QVERIFY(PlayError(player, ".\\Fanfare.wav").startsWith("Cannot open file \""));
        QVERIFY(PlayError(player, ".\\Bad.wav").contains("is not a PCM wave file"));
        QVERIFY(!sound::AudioWavePlayer::OutputLoaded());
    }

    void aModuleThatCantBeLoadedIsThePlaysError() {
        WorkingFolder folder;
        folder.write("Fanfare.wav", SilentWave());
        sound::AudioWavePlayer player(nullptr, folder.path());
        QVERIFY(
            PlayError(player, ".\\Fanfare.wav").startsWith("The sound system can't be loaded: "));
    }

    // Without a sound server the device is missing; either way the module
    // and the media library are in now.
    void theFirstSoundLoadsTheModule() {
        WorkingFolder folder;
        folder.write("Fanfare.wav", SilentWave());
        sound::AudioWavePlayer player(nullptr, QStringLiteral(TAYNOVID_RUN_DIR));
        const QString error = PlayError(player, ".\\Fanfare.wav");
        QVERIFY2(error.isEmpty() || error == "No sound output device is available",
                 qPrintable(error));
        QVERIFY(sound::AudioWavePlayer::OutputLoaded());
        QVERIFY(MediaLibraryLoaded());
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "tst_sound_player.moc"
