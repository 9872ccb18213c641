#include "gui/sound/EffectOutput.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT SoundOutput* LudraMakeSoundOutput() { return new EffectOutput; }
