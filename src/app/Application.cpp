#include "Application.h"

#include "widgets/Dialogs.h"

#include <exception>

namespace fabulor {

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(ApplicationTitle));
    setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
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
    if (m_dialogs)
        m_dialogs->showError(QString::fromLatin1(ApplicationTitle), ErrorBoxText(message));
}

} // namespace fabulor
