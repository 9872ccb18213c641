#include "gui/resources/Sounds.h"

#include <QAudioDevice>
#include <QCoreApplication>
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

TEST(Sounds, PlayingEachNameReturnsWithoutADevice) {
    SoundPlayer player;
    for (const char* name : {"Ruch", "Blond", "Final", "ruch", "FINAL"}) {
        player.Play(name);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(player.Current(), "Final");
    EXPECT_EQ(player.EffectCount(), QMediaDevices::defaultAudioOutput().isNull() ? 0 : 3);
}

TEST(Sounds, OneEffectPerNameMadeOnFirstUseWhenThereIsAnOutput) {
    SoundPlayer player;
    EXPECT_EQ(player.EffectCount(), 0);
    EXPECT_EQ(player.Current(), "");
    player.Play("ruch");
    EXPECT_EQ(player.Current(), "Ruch");
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        player.Play("Blond");
        EXPECT_EQ(player.EffectCount(), 0) << "nothing is made without an output device";
        EXPECT_EQ(player.Current(), "Blond");
        return;
    }
    ASSERT_NE(player.Effect("Ruch"), nullptr);
    const QSoundEffect* ruch = player.Effect("Ruch");
    EXPECT_EQ(ruch->source(), QUrl("qrc:/sounds/Ruch.wav"));
    player.Play("RUCH");
    EXPECT_EQ(player.Effect("Ruch"), ruch);
    EXPECT_EQ(player.EffectCount(), 1);
    player.Play("Blond");
    EXPECT_EQ(player.EffectCount(), 2);
    ASSERT_NE(player.Effect("Blond"), nullptr);
    EXPECT_EQ(player.Effect("Blond")->source(), QUrl("qrc:/sounds/Blond.wav"));
    EXPECT_EQ(player.Effect("Final"), nullptr);
}

TEST(Sounds, UnknownNamesAreIgnored) {
    SoundPlayer player;
    player.Play("Blond");
    for (const char* name : {"Gong", "", "Ruch.wav", "Fina"})
        player.Play(name);
    player.Play(nullptr);
    EXPECT_EQ(player.Current(), "Blond");
    EXPECT_LE(player.EffectCount(), 1);
    EXPECT_EQ(player.Effect("Gong"), nullptr);
}
