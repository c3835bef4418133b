#pragma once
// Runs the built skintool with arguments and no input, and collects what it
// wrote and how it ended. A run that hangs is killed.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace fabulor::testing {

struct SkintoolRun {
    int exitCode = -1; // -1: killed after hanging, or crashed
    QByteArray out;
    QByteArray err;
};

inline SkintoolRun RunSkintool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(FSB_SKINTOOL), args);
    p.closeWriteChannel();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(5000);
        return {-1, p.readAllStandardOutput(), "timed out"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace fabulor::testing
