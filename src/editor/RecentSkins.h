#pragma once
// The skin files the user opened or saved last, newest first, kept between
// runs in the program's own settings: the "Plik" tab offers them again.

#include <QString>
#include <QStringList>

namespace fabulor {

// Where QSettings keeps them: ~/.config/Fabulor/Skin Builder.conf on Linux.
// Not the application title, which names the error boxes.
inline constexpr char SettingsOrganisation[] = "Fabulor";
inline constexpr char SettingsApplication[] = "Skin Builder";

inline constexpr int RecentSkinCount = 5;

// Absolute names, newest first, at most RecentSkinCount, each once. Whatever
// else the settings hold under the key (a hand-edited or damaged file) is
// passed over.
QStringList RecentSkinFiles();
// Puts fileName first, dropping an older mention of it and the oldest name
// beyond the count.
void RememberSkinFile(const QString& fileName);
void ForgetSkinFile(const QString& fileName);

} // namespace fabulor
