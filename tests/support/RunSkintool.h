#pragma once
// Runs the built skintool with arguments and no input, and collects what it
// wrote and how it ended. A run that hangs is killed.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace fabulor::testing {

struct SkintoolRun {
    int exitCode = -1; // -1: killed after hanging, or crashed
    QByteArray out;
    QByteArray err;
};

struct SkintoolOptions {
    // Where relative file names start; the test's own folder when empty.
    QString workingDirectory;
    // No display and no platform plugin chosen, as on a server or in a file
    // manager's thumbnailer: commands that draw nothing must not need them.
    bool noDisplay = false;
};

inline SkintoolOptions InFolder(const QString& folder)
{
    SkintoolOptions options;
    options.workingDirectory = folder;
    return options;
}

inline SkintoolOptions WithoutDisplay()
{
    SkintoolOptions options;
    options.noDisplay = true;
    return options;
}

inline SkintoolRun RunSkintool(const QStringList& args, const SkintoolOptions& options = {})
{
    QProcess p;
    if (!options.workingDirectory.isEmpty()) p.setWorkingDirectory(options.workingDirectory);
    if (options.noDisplay) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(environment);
    }
    p.start(QStringLiteral(FSB_SKINTOOL), args);
    p.closeWriteChannel();
    // Generous: the sanitizer builds run it several times slower.
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        return {-1, p.readAllStandardOutput(), "timed out"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace fabulor::testing
