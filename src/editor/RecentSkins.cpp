#include "RecentSkins.h"

#include "widgets/FileNames.h"

#include <QDir>
#include <QSettings>

namespace fabulor {
namespace {

const QString Key = QStringLiteral("recentSkins");

QSettings Settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SettingsOrganisation),
                     QString::fromLatin1(SettingsApplication));
}

// One spelling per file, so a file opened by two routes is listed once.
QString Normalised(const QString& fileName)
{
    return AbsoluteFileName(fileName);
}

QStringList Cleaned(const QStringList& stored)
{
    QStringList names;
    for (const QString& name : stored) {
        if (names.size() == RecentSkinCount) break;
        if (name.isEmpty() || !QDir::isAbsolutePath(name)) continue;
        const QString normalised = Normalised(name);
        if (!names.contains(normalised)) names << normalised;
    }
    return names;
}

void Store(const QStringList& names)
{
    QSettings settings = Settings();
    settings.setValue(Key, names);
}

} // namespace

QStringList RecentSkinFiles()
{
    // A value that is no list reads as an empty one.
    return Cleaned(Settings().value(Key).toStringList());
}

void RememberSkinFile(const QString& fileName)
{
    QStringList names = RecentSkinFiles();
    const QString normalised = Normalised(fileName);
    names.removeAll(normalised);
    names.prepend(normalised);
    Store(names.mid(0, RecentSkinCount));
}

void ForgetSkinFile(const QString& fileName)
{
    QStringList names = RecentSkinFiles();
    names.removeAll(Normalised(fileName));
    Store(names);
}

} // namespace fabulor
