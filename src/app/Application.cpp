#include "Application.h"

#include "Version.h"
#include "editor/RecentSkins.h"
#include "widgets/Dialogs.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace fabulor {
namespace {

// Qt's Polish catalogue saves with "Zachowaj" where the program, and its
// question about unsaved changes, say "Zapisz": Qt's save texts take the
// program's word, so "Zapisz do pliku" opens a dialog "Zapisz jako".
class SaveWording : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char*, int) const override
    {
        struct Text {
            const char* context;
            const char* source;
            const char* polish;
        };
        static constexpr Text texts[] = {
            {"QFileDialog", "Save As", "Zapisz jako"},
            {"QFileDialog", "&Save", "&Zapisz"},
            {"QGnomeTheme", "&Save", "&Zapisz"},
            {"QPlatformTheme", "Save", "Zapisz"},
            {"QPlatformTheme", "Save All", "Zapisz wszystko"},
            {"QShortcut", "Save", "Zapisz"},
        };
        for (const Text& text : texts)
            if (qstrcmp(context, text.context) == 0 && qstrcmp(source, text.source) == 0)
                return QString::fromUtf8(text.polish);
        return {};
    }
};

// Qt's own dialogs and buttons ("Save As", "Cancel") speak Polish, as the
// program's own texts do, whatever language the system is set to. Without
// Qt's Polish catalogue installed they all stay English.
void LoadQtTranslations(QApplication& app)
{
    auto* catalogue = new QTranslator(&app);
    if (!catalogue->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return;
    }
    QApplication::installTranslator(catalogue);
    // Installed last, so asked first.
    QApplication::installTranslator(new SaveWording(&app));
}

} // namespace

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
    LoadQtTranslations(*this);
    setApplicationVersion(QString::fromLatin1(ProgramVersion));
    // What the program remembers (the recent skins) is filed under this.
    setOrganizationName(QString::fromLatin1(SettingsOrganisation));
    // Lets desktops (Wayland's above all) match the windows to the installed
    // desktop entry and its icon.
    setDesktopFileName(QStringLiteral("org.fabulor.SkinBuilder"));
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
