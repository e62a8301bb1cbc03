#pragma once
// Runs the built brptool as a separate process and collects what it printed.

#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun {
    int exitCode;   // -1 when the tool crashed or did not finish
    QString out;
    QString err;
};

namespace brp {

inline QString brptoolPath()
{
    return qEnvironmentVariable("BRP_BINARY_DIR") + QStringLiteral("/tools/brptool");
}

inline ToolRun runBrptool(const QStringList& args)
{
    QProcess p;
    p.start(brptoolPath(), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("did not finish: ") + brptoolPath()};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace brp
