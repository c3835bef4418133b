#pragma once
// The skin files the user opened or saved last, newest first, kept between
// runs in the program's own settings: the "Plik" tab offers them again.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QWidget;

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

// "Ostatnie skórki:" on the "Plik" tab: the recent skins, newest first; a
// click opens one, or forgets one that no longer exists. The list is read
// again when the tab comes into view or its window is activated: another run
// of the program may have changed it, and a listed file may have gone since.
class RecentSkinsList : public QObject {
public:
    // Puts the list on tab, in window. open opens a skin file the user picked
    // as a drop does: unsaved changes are settled first.
    RecentSkinsList(QWidget& window, QWidget* tab, std::function<void(const QString&)> open);

    QLabel* RecentLabel = nullptr;
    QListWidget* RecentList = nullptr;

    // Shows the skins as the settings hold them now.
    void show();
    // Opens fileName, or forgets it and raises when it no longer exists.
    void click(const QString& fileName);
    // Puts fileName first, as a load or save does.
    void remember(const QString& fileName);

protected:
    // Enter opens the skin the keyboard reached.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opened from the event loop: opening rebuilds the list, which must not
    // happen under the list's own mouse handling, and it may ask about
    // unsaved changes first.
    void openLater(const QListWidgetItem& item);

    std::function<void(const QString&)> m_open;
    const QObject* m_window;
    const QObject* m_tab;
};

} // namespace fabulor
