#include "BrpOutput.h"
#include "CompleteFileWriter.h"

#include <QBuffer>
#include <QFile>

#include <cstdio>

#include <sys/stat.h>

namespace brptool {

namespace {

bool identity(const QString& name, struct stat* st)
{
    return ::stat(QFile::encodeName(name).constData(), st) == 0;
}

// Standard output, unbuffered by us: the bytes either all went or the reason is known.
bool writeStandardOutput(const std::function<bool(QIODevice&)>& write, QString* error)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        *error = QStringLiteral("cannot write to standard output: %1").arg(out.errorString());
        return false;
    }
    const bool written = write(out) && out.flush() && out.error() == QFileDevice::NoError;
    if (!written)
        *error = QStringLiteral("cannot write to standard output: %1").arg(out.errorString());
    return written;
}

} // namespace

QString outputRefusal(const QString& out, const QStringList& inputs)
{
    if (isStandardOutput(out))
        return QString();
    if (out.isEmpty())
        return QStringLiteral("no output file given");
    struct stat target {};
    if (!identity(out, &target))
        return QString(); // a new file
    for (const QString& input : inputs) {
        struct stat source {};
        if (identity(input, &source) && source.st_dev == target.st_dev && source.st_ino == target.st_ino)
            return QStringLiteral("will not write \"%1\": it is also an input (\"%2\"); choose another output")
                .arg(out, input);
    }
    const QString refusal = CompleteFileWriter::RefusalFor(out);
    if (!refusal.isEmpty())
        return QStringLiteral("will not write \"%1\": %2 (use - for standard output)").arg(out, refusal);
    return QString();
}

int checkOutput(const char* command, const QString& out, const QStringList& inputs)
{
    const QString why = outputRefusal(out, inputs);
    if (why.isEmpty())
        return 0;
    std::fprintf(stderr, "%s: %s\n", command, why.toUtf8().constData());
    return RefusedOutputExit;
}

void reportWritten(const QString& out, const QString& what)
{
    std::FILE* stream = isStandardOutput(out) ? stderr : stdout;
    std::fprintf(stream, "%s: %s\n", isStandardOutput(out) ? "(standard output)" : out.toUtf8().constData(),
                 what.toUtf8().constData());
}

bool writeOutput(const QString& out, const std::function<bool(QIODevice&)>& write, QString* error)
{
    if (isStandardOutput(out))
        return writeStandardOutput(write, error);
    CompleteFileWriter file(out);
    if (!file.Open()) {
        *error = QStringLiteral("cannot create \"%1\": %2").arg(out, file.errorString());
        return false;
    }
    const bool made = write(file);
    if (!file.Failed() && !made) {
        *error = QStringLiteral("cannot write \"%1\"").arg(out);
        return false;
    }
    if (!file.Commit()) {
        *error = QStringLiteral("cannot write \"%1\": %2").arg(out, file.errorString());
        return false;
    }
    return true;
}

bool writeOutput(const QString& out, const QByteArray& bytes, QString* error)
{
    return writeOutput(out, [&](QIODevice& device) { return device.write(bytes) == bytes.size(); }, error);
}

bool writePng(const QString& out, const QImage& image, QString* error)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        *error = QStringLiteral("cannot encode the picture of \"%1\" as PNG").arg(out);
        return false;
    }
    return writeOutput(out, png, error);
}

OutputPath::OutputPath(const QString& out, const QString& extension) : m_out(out), m_path(out)
{
    if (!isStandardOutput(out))
        return;
    m_staging = std::make_unique<QTemporaryDir>();
    m_path = m_staging->filePath(QStringLiteral("output.") + extension);
}

bool OutputPath::Finish(QString* error)
{
    if (!m_staging)
        return true;
    QFile staged(m_path);
    if (!staged.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the output back: %1").arg(staged.errorString());
        return false;
    }
    return writeStandardOutput(
        [&](QIODevice& device) {
            QByteArray chunk;
            while (!(chunk = staged.read(1 << 20)).isEmpty())
                if (device.write(chunk) != chunk.size())
                    return false;
            return staged.error() == QFileDevice::NoError;
        },
        error);
}

} // namespace brptool
