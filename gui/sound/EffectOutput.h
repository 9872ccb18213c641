#pragma once

#include "gui/resources/SoundOutput.h"

#include <QString>

#include <map>
#include <memory>

class QSoundEffect;

// Sounds played with the platform's audio stack: one effect per resource, made on its first use;
// a new sound stops the one still playing. Without an audio device nothing is made.
class EffectOutput final : public SoundOutput {
public:
    EffectOutput();
    ~EffectOutput() override;

    void Play(const QString& resourcePath) override;

    // The effects made so far, one per resource played.
    int EffectCount() const { return static_cast<int>(effects_.size()); }
    // The effect of a resource played before, else null.
    const QSoundEffect* Effect(const QString& resourcePath) const;

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
};
