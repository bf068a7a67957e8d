// Wave files: what plays and what is refused.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <utility>

#include "base/error.h"
#include "sound/wave_file.h"
#include "support/temp_folder.h"

using testing_support::TempWorkingFolder;

namespace {

std::string Le32(std::uint32_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}
std::string Le16(std::uint16_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF)};
}

// A RIFF/WAVE file: fmt chunk with the given format tag, optional extra
// chunk before the data, then the samples.
std::string Wave(std::uint16_t formatTag, const std::string& samples,
                 const std::string& extraChunk = {}) {
    std::string fmt = Le16(formatTag) + Le16(1) + Le32(22050) + Le32(44100) + Le16(2) + Le16(16);
    std::string body = "WAVE";
    body += "fmt " + Le32(16) + fmt;
    body += extraChunk;
    body += "data" + Le32(static_cast<std::uint32_t>(samples.size())) + samples;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

}  // namespace

TEST(WaveFile, PcmFileGivesItsFormatAndSamples) {
    const std::string samples("\x01\x00\xFF\x7F", 4);
    // An odd-sized chunk before the data is skipped with its pad byte.
    const sound::WaveFile wave =
        sound::ParseWave(Wave(1, samples, "LIST" + Le32(3) + "abc" + '\0'), ".\\a.wav");
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.sampleRate, 22050);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_EQ(wave.samples, samples);
}

TEST(WaveFile, FloatAndExtensibleHeadersAreRead) {
    std::string floatWave = Wave(3, "abcd");
    floatWave.replace(34, 2, Le16(32));  // bits per sample
    const sound::WaveFile wave = sound::ParseWave(floatWave, ".\\a.wav");
    EXPECT_TRUE(wave.floatSamples);
    EXPECT_EQ(wave.bitsPerSample, 32);

    // WAVE_FORMAT_EXTENSIBLE with the integer PCM sub-format.
    std::string fmt = Le16(0xFFFE) + Le16(2) + Le32(44100) + Le32(176400) + Le16(4) + Le16(16) +
                      Le16(22) + Le16(16) + Le32(3) + Le16(1) + std::string(14, '\x01');
    std::string body = "WAVEfmt " + Le32(40) + fmt + "data" + Le32(4) + "abcd";
    const sound::WaveFile extensible =
        sound::ParseWave("RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body, ".\\a.wav");
    EXPECT_EQ(extensible.channels, 2);
    EXPECT_FALSE(extensible.floatSamples);
    EXPECT_EQ(extensible.samples, "abcd");
}

TEST(WaveFile, AnythingElseIsRefusedWithTheFileNamed) {
    TempWorkingFolder folder;
    const std::string expected =
        "The file \"" + (folder.path() / "Fanfare.wav").string() + "\" is not a PCM wave file";
    for (const std::string& bytes : {std::string(), std::string("RIFF"), std::string(40, '\0'),
                                     Wave(2, "abcd"), Wave(1, "").substr(0, 36)}) {
        try {
            sound::ParseWave(bytes, ".\\Fanfare.wav");
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const base::Error& e) {
            EXPECT_EQ(e.what(), expected);
        }
    }
    // A wave file whose samples have a size no device takes says so.
    std::string twelveBits = Wave(1, "abcd");
    twelveBits.replace(34, 2, Le16(12));
    for (const auto& [bytes, size] : {std::pair{Wave(3, "abcd"), "16-bit floating-point"},
                                      std::pair{twelveBits, "12-bit integer"}}) {
        try {
            sound::ParseWave(bytes, ".\\Fanfare.wav");
            ADD_FAILURE() << "accepted " << size;
        } catch (const base::Error& e) {
            EXPECT_EQ(e.what(), "The file \"" + (folder.path() / "Fanfare.wav").string() +
                                    "\" holds " + size + " samples, which can't be played");
        }
    }
}

TEST(WaveFile, TwentyFourBitSamplesAreWidenedToThirtyTwo) {
    // Two channels, one whole frame and a cut-off one.
    std::string wave = Wave(1, std::string("\x01\x02\x03\xFD\xFE\xFF\x07", 7));
    wave.replace(22, 2, Le16(2));
    wave.replace(34, 2, Le16(24));
    const sound::WaveFile parsed = sound::ParseWave(wave, ".\\a.wav");
    EXPECT_EQ(parsed.bitsPerSample, 32);
    EXPECT_EQ(parsed.samples, std::string("\0\x01\x02\x03\0\xFD\xFE\xFF", 8));
}

TEST(WaveFile, MissingFileGivesTheFileOpenError) {
    TempWorkingFolder folder;
    try {
        sound::LoadWave(".\\udalenie.wav");
        FAIL() << "no error";
    } catch (const base::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" +
                                             (folder.path() / "udalenie.wav").string() +
                                             "\". No such file or directory");
    }
    folder.write("udalenie.wav", Wave(1, "abcd"));
    EXPECT_EQ(sound::LoadWave(".\\udalenie.wav").samples, "abcd");

    // A FIFO or a device is refused at once rather than waited on or read
    // without end.
    ASSERT_EQ(mkfifo("Fanfare.wav", 0644), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.wav");
    for (const char* name : {"Fanfare.wav", "zero.wav"}) {
        try {
            sound::LoadWave(std::string(".\\") + name);
            ADD_FAILURE() << name;
        } catch (const base::Error& e) {
            EXPECT_EQ(
                std::string(e.what()),
                "Cannot open file \"" + (folder.path() / name).string() + "\". Not a regular file");
        }
    }
}
