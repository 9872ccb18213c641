#pragma once

#include <QString>

// Where the sounds go. The sound module makes it: the module holds the platform's audio stack,
// so the program loads that stack only when the first sound plays, not at start-up.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts the sound at a resource path without waiting, stopping the one still playing.
    virtual void Play(const QString& resourcePath) = 0;
};

// The module's one entry point: a new output, owned by the caller.
using MakeSoundOutputFunction = SoundOutput* (*)();
inline constexpr char kMakeSoundOutputName[] = "LudraMakeSoundOutput";
