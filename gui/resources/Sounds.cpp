#include "gui/resources/Sounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <array>
#include <utility>

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

SoundPlayer::SoundPlayer(QString modulePath) : modulePath_(std::move(modulePath)) {}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::ResourcePath(const char* name) {
    const QString canonical = CanonicalName(name);
    return canonical.isEmpty() ? QString() : QStringLiteral(":/sounds/%1.wav").arg(canonical);
}

QString SoundPlayer::DefaultModulePath() {
    const QDir program(QCoreApplication::applicationDirPath());
    const QString beside = program.filePath(QStringLiteral("ludra-sound.so"));
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(program.filePath(QStringLiteral(LUDRA_SOUND_MODULE_FROM_PROGRAM "/ludra-sound.so")));
}

void SoundPlayer::Play(const char* name) {
    const QString canonical = CanonicalName(name);
    if (canonical.isEmpty())
        return;
    current_ = canonical;
    if (SoundOutput* output = Output())
        output->Play(ResourcePath(name));
}

SoundOutput* SoundPlayer::Output() {
    if (!std::exchange(moduleTried_, true)) {
        // The library stays loaded for the rest of the run, so the output's code outlives it.
        QLibrary module(modulePath_);
        const auto make = reinterpret_cast<MakeSoundOutputFunction>(module.resolve(kMakeSoundOutputName));
        if (make != nullptr)
            output_.reset(make());
    }
    return output_.get();
}
