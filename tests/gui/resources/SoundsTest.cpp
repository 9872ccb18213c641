#include "gui/resources/Sounds.h"

#include "gui/sound/EffectOutput.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t LittleEndian(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

struct WaveFacts {
    bool Riff = false;
    bool Wave = false;
    std::uint32_t Format = 0;
    std::uint32_t Channels = 0;
    std::uint32_t BitsPerSample = 0;
    std::uint32_t DataBytes = 0;
    bool DataInsideFile = false;
};

// Walks the RIFF chunks of a WAVE file.
WaveFacts ReadWave(const QByteArray& bytes) {
    WaveFacts facts;
    if (bytes.size() < 12)
        return facts;
    facts.Riff = bytes.left(4) == "RIFF";
    facts.Wave = bytes.mid(8, 4) == "WAVE";
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const std::uint32_t size = LittleEndian(bytes, at + 4, 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            facts.Format = LittleEndian(bytes, body, 2);
            facts.Channels = LittleEndian(bytes, body + 2, 2);
            facts.BitsPerSample = LittleEndian(bytes, body + 14, 2);
        } else if (id == "data") {
            facts.DataBytes = size;
            facts.DataInsideFile = body + static_cast<qsizetype>(size) <= bytes.size();
        }
        at = body + size + (size & 1);
    }
    return facts;
}

} // namespace

TEST(Sounds, ResourcesAreValidPcmWaves) {
    for (const char* name : {"Ruch", "Blond", "Final"}) {
        SCOPED_TRACE(name);
        QFile file(SoundPlayer::ResourcePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const WaveFacts facts = ReadWave(file.readAll());
        EXPECT_TRUE(facts.Riff);
        EXPECT_TRUE(facts.Wave);
        EXPECT_EQ(facts.Format, 1u) << "PCM";
        EXPECT_GE(facts.Channels, 1u);
        EXPECT_GT(facts.BitsPerSample, 0u);
        EXPECT_GT(facts.DataBytes, 0u);
        EXPECT_TRUE(facts.DataInsideFile);
    }
}

TEST(Sounds, NamesMapToTheirResourcesIgnoringCase) {
    EXPECT_EQ(SoundPlayer::ResourcePath("Ruch"), ":/sounds/Ruch.wav");
    EXPECT_EQ(SoundPlayer::ResourcePath("BLOND"), ":/sounds/Blond.wav");
    EXPECT_EQ(SoundPlayer::ResourcePath("final"), ":/sounds/Final.wav");
    EXPECT_EQ(SoundPlayer::ResourcePath("Gong"), "");
    EXPECT_EQ(SoundPlayer::ResourcePath("Ruc"), "");
    EXPECT_EQ(SoundPlayer::ResourcePath(""), "");
    EXPECT_EQ(SoundPlayer::ResourcePath(nullptr), "");
}

TEST(Sounds, WithoutTheModulePlayingIsSilent) {
    SoundPlayer player(QStringLiteral("/nonexistent/ludra-sound.so"));
    for (const char* name : {"Ruch", "Blond", "final"})
        player.Play(name);
    EXPECT_EQ(player.Current(), "Final");
    EXPECT_FALSE(player.HasOutput());
}

TEST(Sounds, TheModuleIsLoadedWhenTheFirstKnownSoundPlays) {
    SoundPlayer player(QStringLiteral(LUDRA_SOUND_MODULE));
    EXPECT_EQ(player.Current(), "");
    player.Play("Gong");
    EXPECT_FALSE(player.HasOutput()) << "an unknown name loads nothing";
    player.Play("ruch");
    EXPECT_TRUE(player.HasOutput());
    EXPECT_EQ(player.Current(), "Ruch");
    for (const char* name : {"Gong", "", "Ruch.wav", "Fina"})
        player.Play(name);
    player.Play(nullptr);
    EXPECT_EQ(player.Current(), "Ruch") << "unknown names leave the current sound";
}

TEST(Sounds, OneEffectPerSoundMadeOnFirstUseWhenThereIsAnOutput) {
    EffectOutput output;
    output.Play(":/sounds/Ruch.wav");
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        EXPECT_EQ(output.EffectCount(), 0) << "nothing is made without an output device";
        return;
    }
    const QSoundEffect* ruch = output.Effect(":/sounds/Ruch.wav");
    ASSERT_NE(ruch, nullptr);
    EXPECT_EQ(ruch->source(), QUrl("qrc:/sounds/Ruch.wav"));
    output.Play(":/sounds/Ruch.wav");
    EXPECT_EQ(output.Effect(":/sounds/Ruch.wav"), ruch);
    output.Play(":/sounds/Blond.wav");
    EXPECT_EQ(output.EffectCount(), 2);
    EXPECT_EQ(output.Effect(":/sounds/Final.wav"), nullptr);
}
