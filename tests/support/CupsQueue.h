#pragma once
// The CUPS queue that writes PDF files (made by scripts/cups-setup.sh), and
// waiting for and reading what it delivers. Without the queue, `unavailable`
// says why and the tests skip.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QThread>

struct CupsQueue {
    QString queue;
    QString outDir;
    QString duplexQueue; // two-sided by default
    QString letterQueue; // Letter paper by default
    QString unavailable;
};

namespace brp {

inline QMap<QString, QString> readEnvFile(const QString& path)
{
    QMap<QString, QString> values;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly | QIODevice::Text))
        for (const QByteArray& line : f.readAll().split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                values.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
        }
    return values;
}

inline const CupsQueue& cupsQueue()
{
    static const CupsQueue queue = [] {
        CupsQueue q;
        const QString path = qEnvironmentVariable("BRP_BINARY_DIR") + QStringLiteral("/cups-pdf.env");
        // Run on its own, or after a setup that made fewer queues: prepare
        // the queues now.
        if (!QFile::exists(path) || (!readEnvFile(path).contains(QStringLiteral("DUPLEX_QUEUE")) &&
                                     !readEnvFile(path).contains(QStringLiteral("UNAVAILABLE"))))
            QProcess::execute(QStringLiteral("bash"),
                              {qEnvironmentVariable("BRP_SOURCE_DIR") + QStringLiteral("/scripts/cups-setup.sh"), path});
        const auto env = readEnvFile(path);
        q.duplexQueue = env.value(QStringLiteral("DUPLEX_QUEUE"));
        q.letterQueue = env.value(QStringLiteral("LETTER_QUEUE"));
        q.queue = env.value(QStringLiteral("QUEUE"));
        q.outDir = env.value(QStringLiteral("OUTDIR"));
        q.unavailable = env.value(QStringLiteral("UNAVAILABLE"));
        if (q.queue.isEmpty() && q.unavailable.isEmpty())
            q.unavailable = QStringLiteral("scripts/cups-setup.sh wrote no queue to ") + path;
        return q;
    }();
    return queue;
}

inline QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Waits (bounded) for cups-pdf to deliver the job whose title holds token.
inline QString waitForPdf(const QString& dir, const QString& token)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        for (const QString& name : QDir(dir).entryList({QStringLiteral("*.pdf")}, QDir::Files))
            if (name.contains(token)) {
                const QString path = QDir(dir).filePath(name);
                if (!run(QStringLiteral("pdfinfo"), {path}).isEmpty())
                    return path;
            }
        QThread::msleep(200);
    }
    return QString();
}

inline int pdfPages(const QString& info)
{
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace brp

