#pragma once

#include "gui/resources/SoundOutput.h"

#include <QString>

#include <memory>

// The program's three sounds ("Ruch", "Blond", "Final") played from the Qt resources without
// waiting, through the sound module, which is loaded when the first sound plays. Without the
// module or an audio device playing does nothing, silently.
class SoundPlayer {
public:
    // The module beside the program (a build tree) or in its private library folder (installed),
    // unless another is given.
    explicit SoundPlayer(QString modulePath = DefaultModulePath());
    ~SoundPlayer();

    // Plays the named sound, the name's letter case ignored; other names are ignored.
    void Play(const char* name);

    // The resource path of a sound (":/sounds/Ruch.wav"), or empty for an unknown name.
    static QString ResourcePath(const char* name);
    static QString DefaultModulePath();

    // The sound last started, by its resource name ("Ruch"), or empty before the first.
    QString Current() const { return current_; }
    // Whether the module was loaded and made an output.
    bool HasOutput() const { return output_ != nullptr; }

private:
    SoundOutput* Output();

    QString modulePath_;
    bool moduleTried_ = false;
    std::unique_ptr<SoundOutput> output_;
    QString current_;
};
