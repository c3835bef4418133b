#include "Application.h"

#include "Version.h"
#include "editor/RecentSkins.h"
#include "widgets/Dialogs.h"

#include <QFont>

#include <exception>

namespace fabulor {

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // The title names the program's task-bar entry and its error boxes; it is
    // not a display name, which Qt would append to every window caption.
    setApplicationName(QString::fromLatin1(ApplicationTitle));
    setApplicationVersion(QString::fromLatin1(ProgramVersion));
    // What the program remembers (the recent skins) is filed under this.
    setOrganizationName(QString::fromLatin1(SettingsOrganisation));
    // The reader's fonts are Windows fonts; where they are missing, prefer
    // the metric-compatible free ones to whatever the system would pick.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void Application::reportError(const QString& message)
{
    // A failure while the box is open (a paint, say) must not stack boxes.
    if (!m_dialogs || m_reporting) {
        qWarning("%s", qPrintable(message));
        return;
    }
    m_reporting = true;
    m_dialogs->showError(QString::fromLatin1(ApplicationTitle), ErrorBoxText(message));
    m_reporting = false;
}

} // namespace fabulor
