#pragma once

#include <QObject>
#include <QString>

#include <map>

class QSoundEffect;

// The program's three sounds ("Ruch", "Blond", "Final") played from the Qt resources
// without waiting. One effect per name, made on its first use; a new sound stops the
// one still playing. Without an audio device playing does nothing, silently.
class SoundPlayer : public QObject {
    Q_OBJECT

public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Plays the named sound, the name's letter case ignored; other names are ignored.
    void Play(const char* name);

    // The resource path of a sound (":/sounds/Ruch.wav"), or empty for an unknown name.
    static QString ResourcePath(const char* name);

    // The sound last started, by its resource name ("Ruch"), or empty before the first.
    QString Current() const { return current_; }
    // The effects made so far, one per name played.
    int EffectCount() const { return static_cast<int>(effects_.size()); }
    // The effect of a name played before, else null.
    const QSoundEffect* Effect(const QString& canonicalName) const;

private:
    std::map<QString, QSoundEffect*> effects_;
    QString current_;
};
