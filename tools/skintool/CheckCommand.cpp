// skintool check: the editor's skin check on a skin file, one finding per
// line or as JSON, with the verdict in the exit code.

#include "Command.h"

#include "check/SkinCheck.h"
#include "check/SystemFonts.h"
#include "document/DocumentText.h"
#include "document/IniStore.h"
#include "document/SkinSchema.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipKit.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <ostream>

namespace skintool {
namespace {

const char* SeverityWord(fabulor::Severity severity)
{
    switch (severity) {
    case fabulor::Severity::Error:
        return "error";
    case fabulor::Severity::Warning:
        return "warning";
    case fabulor::Severity::Note:
        break;
    }
    return "note";
}

std::string OrDash(const std::string& text)
{
    return text.empty() ? "-" : text;
}

void WriteLines(const std::vector<fabulor::Finding>& findings, std::ostream& out)
{
    for (const fabulor::Finding& f : findings)
        out << SeverityWord(f.severity) << ' ' << OrDash(f.section) << ' ' << OrDash(f.key) << ' '
            << f.message << '\n';
}

QJsonValue Text(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void WriteJson(const std::vector<fabulor::Finding>& findings, std::ostream& out)
{
    QJsonArray array;
    for (const fabulor::Finding& f : findings) {
        QJsonObject object;
        object.insert(QStringLiteral("severity"), QString::fromLatin1(SeverityWord(f.severity)));
        object.insert(QStringLiteral("section"), Text(f.section));
        object.insert(QStringLiteral("key"), Text(f.key));
        // The component as the editor's chooser names it; null for the window.
        object.insert(QStringLiteral("component"),
                      f.component >= 0
                          ? Text(std::string(fabulor::SkinComponents()[std::size_t(f.component)].chooserText))
                          : QJsonValue(QJsonValue::Null));
        object.insert(QStringLiteral("message"), Text(f.message));
        array.append(object);
    }
    const QByteArray json = QJsonDocument(array).toJson(QJsonDocument::Indented);
    out.write(json.constData(), json.size());
}

// Qt's remarks on its own set-up (no XDG_RUNTIME_DIR, say) are no finding
// of the skin: scripts read standard error too. Its failures still show.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Fonts are the font database's, and measuring the labels' text needs a
// GUI application: the offscreen platform serves where nobody chose one, so
// the check runs without a display.
std::unique_ptr<QGuiApplication> FontApplication()
{
    if (QGuiApplication::instance()) return nullptr;
    qInstallMessageHandler(QuietQtMessages);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "skintool";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int runCheck(Args args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    for (const std::string& option : args.subspan(1)) {
        if (option != "--json") {
            err << "usage: skintool check FILE.ski [--json]\n";
            return ExitUsage;
        }
        json = true;
    }

    // Read as the editor loads it: a damaged entry is refused, not checked.
    // The entry's text goes as soon as the document holds it.
    fabulor::IniStore document;
    {
        fabulor::TZipKit zip;
        const std::string path =
            std::filesystem::absolute(std::filesystem::path(args[0])).lexically_normal().string();
        fabulor::MemoryStream text = fabulor::LoadSkinEntry(path, zip);
        if (const auto& failure = zip.lastItemFailure()) std::rethrow_exception(failure->error);
        fabulor::LoadDocumentBytes(document, text);
    }

    const auto application = FontApplication();
    // The components are placed by the check's own layout model, not by a
    // preview built here: the editor runs the same check on a worker thread,
    // where no widget may be made, and both must judge the same boxes.
    const std::vector<fabulor::Finding> findings =
        fabulor::CheckSkin(document, fabulor::SystemCheckEnvironment());
    if (json)
        WriteJson(findings, out);
    else
        WriteLines(findings, out);

    // Notes leave the skin clean: they only say what the reader will do.
    bool errors = false;
    bool warnings = false;
    for (const fabulor::Finding& f : findings) {
        errors = errors || f.severity == fabulor::Severity::Error;
        warnings = warnings || f.severity == fabulor::Severity::Warning;
    }
    if (errors) return ExitCheckErrors;
    return warnings ? ExitCheckWarnings : ExitOk;
}

} // namespace skintool
