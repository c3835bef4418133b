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
    // Standard output goes to this file (/dev/full, say) instead of the test.
    QString standardOutputFile;
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

inline SkintoolRun RunProgram(const QString& program, const QStringList& args, const SkintoolOptions& options)
{
    QProcess p;
    if (!options.workingDirectory.isEmpty()) p.setWorkingDirectory(options.workingDirectory);
    if (options.noDisplay) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(environment);
    }
    if (!options.standardOutputFile.isEmpty()) p.setStandardOutputFile(options.standardOutputFile);
    p.start(program, args);
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

inline SkintoolRun RunSkintool(const QStringList& args, const SkintoolOptions& options = {})
{
    return RunProgram(QStringLiteral(FSB_SKINTOOL), args, options);
}

// As RunSkintool, with arguments given as bytes: a file name that is no
// UTF-8 reaches the program as it is, where QProcess would replace such a
// byte. The shell's printf makes each word from octal escapes.
inline SkintoolRun RunSkintoolWithBytes(const QList<QByteArray>& args, const SkintoolOptions& options = {})
{
    QString script = QStringLiteral("exec \"$0\"");
    for (const QByteArray& word : args) {
        QString escaped;
        for (const char c : word)
            escaped +=
                QStringLiteral("\\%1").arg(unsigned(static_cast<unsigned char>(c)), 3, 8, QLatin1Char('0'));
        script += QStringLiteral(" \"$(printf '%1')\"").arg(escaped);
    }
    return RunProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, QStringLiteral(FSB_SKINTOOL)},
                      options);
}

} // namespace fabulor::testing
