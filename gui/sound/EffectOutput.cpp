#include "gui/sound/EffectOutput.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

EffectOutput::EffectOutput() = default;

EffectOutput::~EffectOutput() = default;

const QSoundEffect* EffectOutput::Effect(const QString& resourcePath) const {
    const auto found = effects_.find(resourcePath);
    return found == effects_.end() ? nullptr : found->second.get();
}

void EffectOutput::Play(const QString& resourcePath) {
    // Without an output device there is nothing to play: no effect is made, so no loader thread of
    // the platform's sample cache is started either.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    for (const auto& entry : effects_)
        entry.second->stop();
    std::unique_ptr<QSoundEffect>& effect = effects_[resourcePath];
    if (effect == nullptr) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath));
    }
    effect->play(); // asynchronous; its failures stay silent
}
