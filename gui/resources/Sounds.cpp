#include "gui/resources/Sounds.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <array>

namespace {

constexpr std::array<const char*, 3> kSoundNames{"Ruch", "Blond", "Final"};

// The resource spelling of a name, or empty when it is none of the sounds.
QString CanonicalName(const char* name) {
    if (name == nullptr)
        return {};
    const QString wanted = QString::fromUtf8(name);
    for (const char* known : kSoundNames)
        if (wanted.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(known);
    return {};
}

} // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::ResourcePath(const char* name) {
    const QString canonical = CanonicalName(name);
    return canonical.isEmpty() ? QString() : QStringLiteral(":/sounds/%1.wav").arg(canonical);
}

const QSoundEffect* SoundPlayer::Effect(const QString& canonicalName) const {
    const auto found = effects_.find(canonicalName);
    return found == effects_.end() ? nullptr : found->second;
}

void SoundPlayer::Play(const char* name) {
    const QString canonical = CanonicalName(name);
    if (canonical.isEmpty())
        return;
    current_ = canonical;
    // Without an output device there is nothing to play: no effect is made, so no
    // loader thread of the platform's sample cache is started either.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    // A new sound replaces the one still playing, the same name starting afresh.
    for (const auto& entry : effects_)
        entry.second->stop();
    QSoundEffect*& effect = effects_[canonical];
    if (effect == nullptr) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + ResourcePath(name)));
    }
    effect->play(); // asynchronous; its failures stay silent
}
